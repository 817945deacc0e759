// The about box: its controls as the stored form lays them out, and the home page button.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QtTest>

#include "app/app_test_support.h"
#include "support/qt/about_artwork.h"
#include "support/qt/about_box.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/shadow_label.h"
#include "support/sjis_text.h"

using namespace koyomi;
using namespace koyomi::testing;

namespace {

constexpr char kHomePage[] = "file:///opt/koyomivw/koyomivw-home/index.html";

class RecordingPresenter final : public MessagePresenter {
  public:
    int beeps = 0;
    std::vector<MessageBoxRequest> shown;
    void Beep() override { ++beeps; }
    DialogResult ShowModal(const MessageBoxRequest& request) override {
        shown.push_back(request);
        return DialogResult::Ok;
    }
};

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { InstallJapaneseFontSubstitutes(); }

    void ControlsSitWhereTheFormPutsThem() {
        RecordingShell shell;
        AboutBox box(shell, kHomePage);
        QCOMPARE(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box.size(), QSize(324, 258));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(box.font().pixelSize(), 12);

        QCOMPARE(box.Panel1->geometry(), QRect(6, 12, 307, 205));
        QCOMPARE(box.Panel1->frameShadow(), QFrame::Sunken);
        QCOMPARE(box.Panel1->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(box.Button1->geometry(), QRect(10, 226, 155, 21));
        QCOMPARE(box.Button1->text(), QStringLiteral("ホームページ"));
        QCOMPARE(box.BitBtn1->geometry(), QRect(234, 224, 75, 25));
        QCOMPARE(box.BitBtn1->text(), QStringLiteral("OK"));
        QVERIFY(box.BitBtn1->isDefault());
        QCOMPARE(box.settings_.DefaultDir(), SettingsFolder::Program);

        // The picture and both labels lie inside the panel, the labels over the picture.
        QCOMPARE(box.Image1->parentWidget(), box.Panel1);
        QCOMPARE(box.Image1->size(), QSize(300, 200));
        QVERIFY(box.Panel1->rect().contains(box.Image1->geometry()));
        for (ShadowLabel* label : {box.title_label_, box.ticker_label_}) {
            QCOMPARE(label->parentWidget(), box.Panel1);
            QVERIFY(box.Image1->geometry().contains(label->geometry()));
            QVERIFY(box.Panel1->children().indexOf(label) >
                    box.Panel1->children().indexOf(box.Image1));
        }
        QCOMPARE(box.title_label_->caption(), QStringLiteral("Version 1.00"));
        QVERIFY(box.title_label_->font().bold());
        QVERIFY(box.title_label_->font().underline());
        QCOMPARE(box.title_label_->style(), ShadowLabel::Style::Recessed);
        QVERIFY(!box.ticker_label_->caption().isEmpty());
        QVERIFY(box.ticker_label_->font().bold());
        QCOMPARE(box.ticker_label_->font().pixelSize(), 11);
        QCOMPARE(box.ticker_label_->style(), ShadowLabel::Style::Raised);
    }

    void PictureIsTheProgramsOwnArtwork() {
        const QImage art = PaintAboutArtwork();
        QCOMPARE(art.size(), QSize(300, 200));
        QCOMPARE(art.depth(), 24);
        QSet<QRgb> colours;
        for (int y = 0; y < art.height(); y += 4) {
            for (int x = 0; x < art.width(); x += 4) {
                colours.insert(art.pixel(x, y));
            }
        }
        QVERIFY2(colours.size() > 50, "the picture is nearly blank");
        // Sky above, turf below.
        const QColor sky = art.pixelColor(5, 5);
        const QColor turf = art.pixelColor(5, 195);
        QVERIFY(sky.blue() > sky.green() && sky.blue() > sky.red());
        QVERIFY(turf.green() > turf.red() && turf.green() > turf.blue());

        RecordingShell shell;
        AboutBox box(shell, kHomePage);
        QCOMPARE(box.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB888), art);
    }

    void OkClosesTheBox() {
        RecordingShell shell;
        AboutBox box(shell, kHomePage);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.BitBtn1, Qt::LeftButton);
        QCOMPARE(box.result(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }

    void HomePageOpensThroughTheShell() {
        RecordingShell shell;
        RecordingPresenter presenter;
        AboutBox box(shell, kHomePage);
        box.SetMessagePresenter(&presenter);
        QTest::mouseClick(box.Button1, Qt::LeftButton);
        QCOMPARE(shell.opened, std::vector<std::string>{kHomePage});
        QVERIFY(presenter.shown.empty());
    }

    void PictureActsAsTheHomePageButton() {
        RecordingShell shell;
        AboutBox box(shell, kHomePage);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.Image1, Qt::LeftButton, {}, QPoint(150, 120));
        // Through the window, as the user clicks: over a label that lies on the picture.
        const QPoint on_label = box.title_label_->mapTo(&box, QPoint(5, 5));
        QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, on_label);
        QCOMPARE(shell.opened, (std::vector<std::string>{kHomePage, kHomePage}));
        QVERIFY(box.isVisible());
    }

    void RegisteredBrowserIsTheFallback() {
        RecordingShell shell;
        shell.shell_result = 0;
        shell.browser_registered = true;
        RecordingPresenter presenter;
        AboutBox box(shell, kHomePage);
        box.SetMessagePresenter(&presenter);
        box.Button1Click();
        QCOMPARE(shell.commands,
                 std::vector<std::string>{std::string("\"/usr/bin/web\" ") + kHomePage});
        QVERIFY(presenter.shown.empty());
    }

    void FailureGivesThePlainMessage() {
        RecordingShell shell;
        shell.shell_result = 2;
        RecordingPresenter presenter;
        AboutBox box(shell, kHomePage);
        box.SetMessagePresenter(&presenter);
        box.Button1Click();
        shell.browser_registered = true;
        shell.win_exec_result = 2;
        box.Image1Click();
        QCOMPARE(int(presenter.shown.size()), 2);
        for (const MessageBoxRequest& request : presenter.shown) {
            QCOMPARE(request.text, Utf8ToSjis("ホームページの表示に失敗しました。"));
            QCOMPARE(request.kind, MessageKind::Custom);
            QCOMPARE(request.buttons, std::vector<MessageButton>{MessageButton::Ok});
        }
        QCOMPARE(presenter.beeps, 0);
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"

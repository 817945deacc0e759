// The about box: its controls where they belong, and the home page button.
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
        RecordingLauncher launcher;
        AboutBox box(launcher, kHomePage);
        QCOMPARE(box.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(box.size(), QSize(324, 258));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(box.font().pixelSize(), 12);

        QCOMPARE(box.picture_frame_->geometry(), QRect(6, 12, 307, 205));
        QCOMPARE(box.picture_frame_->frameShadow(), QFrame::Sunken);
        QCOMPARE(box.picture_frame_->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(box.home_page_button_->geometry(), QRect(10, 226, 155, 21));
        QCOMPARE(box.home_page_button_->text(), QStringLiteral("ホームページ"));
        QCOMPARE(box.ok_button_->geometry(), QRect(234, 224, 75, 25));
        QCOMPARE(box.ok_button_->text(), QStringLiteral("OK"));
        QVERIFY(box.ok_button_->isDefault());

        // The picture and both labels lie inside the panel, the labels over the picture.
        QCOMPARE(box.picture_->parentWidget(), box.picture_frame_);
        QCOMPARE(box.picture_->size(), QSize(300, 200));
        QVERIFY(box.picture_frame_->rect().contains(box.picture_->geometry()));
        for (ShadowLabel* label : {box.version_label_, box.credit_label_}) {
            QCOMPARE(label->parentWidget(), box.picture_frame_);
            QVERIFY(box.picture_->geometry().contains(label->geometry()));
            QVERIFY(box.picture_frame_->children().indexOf(label) >
                    box.picture_frame_->children().indexOf(box.picture_));
        }
        QCOMPARE(box.version_label_->caption(), QStringLiteral("Version 1.00"));
        QVERIFY(box.version_label_->font().bold());
        QVERIFY(box.version_label_->font().underline());
        QCOMPARE(box.version_label_->style(), ShadowLabel::Style::Recessed);
        QVERIFY(!box.credit_label_->caption().isEmpty());
        QVERIFY(box.credit_label_->font().bold());
        QCOMPARE(box.credit_label_->font().pixelSize(), 11);
        QCOMPARE(box.credit_label_->style(), ShadowLabel::Style::Raised);
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

        RecordingLauncher launcher;
        AboutBox box(launcher, kHomePage);
        QCOMPARE(box.picture_->pixmap().toImage().convertToFormat(QImage::Format_RGB888), art);
    }

    void OkClosesTheBox() {
        RecordingLauncher launcher;
        AboutBox box(launcher, kHomePage);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.ok_button_, Qt::LeftButton);
        QCOMPARE(box.result(), int(QDialog::Accepted));
        QVERIFY(!box.isVisible());
    }

    void HomePageOpensThroughItsOwnHandler() {
        RecordingLauncher launcher;
        RecordingPresenter presenter;
        AboutBox box(launcher, kHomePage);
        box.SetMessagePresenter(&presenter);
        QTest::mouseClick(box.home_page_button_, Qt::LeftButton);
        QCOMPARE(launcher.opened, std::vector<std::string>{kHomePage});
        QVERIFY(presenter.shown.empty());
    }

    void PictureActsAsTheHomePageButton() {
        RecordingLauncher launcher;
        AboutBox box(launcher, kHomePage);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.picture_, Qt::LeftButton, {}, QPoint(150, 120));
        // Through the window, as the user clicks: over a label that lies on the picture.
        const QPoint on_label = box.version_label_->mapTo(&box, QPoint(5, 5));
        QTest::mouseClick(box.windowHandle(), Qt::LeftButton, {}, on_label);
        QCOMPARE(launcher.opened, (std::vector<std::string>{kHomePage, kHomePage}));
        QVERIFY(box.isVisible());
    }

    void HtmlHandlerIsTheFallback() {
        RecordingLauncher launcher;
        launcher.uri_handler_starts = false;
        launcher.html_handler_starts = true;
        RecordingPresenter presenter;
        AboutBox box(launcher, kHomePage);
        box.SetMessagePresenter(&presenter);
        box.OpenHomePage();
        QCOMPARE(launcher.opened, std::vector<std::string>{kHomePage});
        QCOMPARE(launcher.html_opened, std::vector<std::string>{kHomePage});
        QVERIFY(presenter.shown.empty());
    }

    void FailureGivesThePlainMessage() {
        RecordingLauncher launcher;
        launcher.uri_handler_starts = false;
        RecordingPresenter presenter;
        AboutBox box(launcher, kHomePage);
        box.SetMessagePresenter(&presenter);
        box.OpenHomePage();
        box.PictureClicked();
        QCOMPARE(launcher.html_opened, (std::vector<std::string>{kHomePage, kHomePage}));
        QCOMPARE(int(presenter.shown.size()), 2);
        for (const MessageBoxRequest& request : presenter.shown) {
            QCOMPARE(request.text, std::string("ホームページの表示に失敗しました。"));
            QCOMPARE(request.kind, MessageKind::Custom);
            QCOMPARE(request.buttons, std::vector<MessageButton>{MessageButton::Ok});
        }
        QCOMPARE(presenter.beeps, 0);
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"

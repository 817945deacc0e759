// Help, the about box and the home page from the main window's menu and tool buttons, and
// the pages shipped beside the program.
#include <QAction>
#include <QDirIterator>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

#include "app/app_test_support.h"
#include "app/main_form.h"
#include "schedule/schedule_test_support.h"
#include "support/help_pages.h"
#include "support/qt/about_box.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/label_3dj.h"

using namespace koyomi;
using namespace koyomi::testing;

namespace {

struct AboutBoxSeen {
    QString title;
    QString version;
    QSize size;
};

}  // namespace

class MainFormHelpTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { InstallJapaneseFontSubstitutes(); }

    void init() {
        folder_ = std::make_unique<TempFolder>();
        TMainForm::Options options;
        options.program_file = folder_->path() / "koyomivw";
        form_ = std::make_unique<TMainForm>(std::move(options));
        shell_ = RecordingShell();
        form_->setShellPlatform(&shell_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QTest::qWait(20);  // the first show sets the version text
    }

    void cleanup() {
        form_.reset();
        folder_.reset();
    }

    void contentsOpenTheHtmlHelpFromMenuAndButton() {
        form_->findChild<QAction*>(QStringLiteral("HelpContentsItem"))->trigger();
        form_->findChild<QToolButton*>(QStringLiteral("SpeedButton5"))->click();
        const std::string contents = FileUrl(HtmlHelpContentsPath(folder_->path()));
        QCOMPARE(shell_.opened, (std::vector<std::string>{contents, contents}));
    }

    void compiledHelpIsPreferredWhenShipped() {
        const std::filesystem::path chm = folder_->path() / "koyomivw.chm";
        WriteBytes(chm, "ITSF");
        form_->findChild<QAction*>(QStringLiteral("HelpContentsItem"))->trigger();
        QCOMPARE(shell_.opened, std::vector<std::string>{chm.string()});
    }

    // Each opening builds a new box with the version text; it is gone once closed.
    void aboutBoxShowsTheVersionEveryTime() {
        std::vector<AboutBoxSeen> seen;
        const auto answer = [this, &seen](QWidget* modal) {
            auto* box = qobject_cast<TAboutBox*>(modal);
            if (box == nullptr) {
                modal->close();
                return;
            }
            seen.push_back({box->windowTitle(), box->Label3D1->caption(), box->size()});
            box->Label3D1->setCaption(QStringLiteral("changed"));
            box->Button1->click();
            box->BitBtn1->click();
        };
        WhenModal(answer);
        form_->findChild<QAction*>(QStringLiteral("HelpAboutItem"))->trigger();
        QVERIFY(form_->findChildren<TAboutBox*>().isEmpty());
        WhenModal(answer);
        form_->findChild<QToolButton*>(QStringLiteral("SpeedButton6"))->click();
        QVERIFY(form_->findChildren<TAboutBox*>().isEmpty());

        QCOMPARE(int(seen.size()), 2);
        for (const AboutBoxSeen& box : seen) {
            QCOMPARE(box.title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(box.version, QStringLiteral("Ver.1.02"));
            QCOMPARE(box.size, QSize(324, 258));
        }
        const std::string home = HomePageUrl(folder_->path());
        QCOMPARE(shell_.opened, (std::vector<std::string>{home, home}));
    }

    // The help pages and the home page lie beside the built program, and every link between
    // them leads to a shipped file.
    void shippedPagesAreCompleteAndLinked() {
        const QString programDir = qEnvironmentVariable("KOYOMI_PROGRAM_DIR");
        if (programDir.isEmpty()) {
            QSKIP("KOYOMI_PROGRAM_DIR is not set; run the test through ctest");
        }
        const std::filesystem::path folder = programDir.toStdString();
        QVERIFY(std::filesystem::is_regular_file(HtmlHelpContentsPath(folder)));
        QVERIFY(std::filesystem::is_regular_file(HomePagePath(folder)));
        const QString contents = QString::fromStdString(ReadBytes(HtmlHelpContentsPath(folder)));
        for (const char* topic : {"fetch.html", "year.html", "filters.html", "message.html",
                                  "copy.html", "print.html"}) {
            QVERIFY2(contents.contains(QStringLiteral("href=\"%1\"").arg(QLatin1String(topic))),
                     topic);
        }

        const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)(?:#[^\"]*)?\""));
        int checked = 0;
        for (const char* sub : {kHtmlHelpFolderName, kHomePageFolderName}) {
            QDirIterator pages(programDir + QLatin1Char('/') + QLatin1String(sub),
                               {QStringLiteral("*.html")});
            while (pages.hasNext()) {
                const QString page = pages.next();
                const QString text = QString::fromStdString(ReadBytes(page.toStdString()));
                QVERIFY2(text.contains(QStringLiteral("<meta charset=\"utf-8\">")),
                         qPrintable(page));
                for (auto match = link.globalMatch(text); match.hasNext();) {
                    const QString target = QFileInfo(page).dir().filePath(match.next().captured(1));
                    QVERIFY2(QFileInfo::exists(target), qPrintable(page + " -> " + target));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 20);
    }

  private:
    RecordingShell shell_;
    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(MainFormHelpTest)
#include "main_form_help_test.moc"

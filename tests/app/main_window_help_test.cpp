// Help, the about box and the home page from the main window's menu and tool buttons, and
// the pages shipped beside the program.
#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

#include "app/app_test_support.h"
#include "app/qt/main_window.h"
#include "support/help_pages.h"
#include "support/qt/about_box.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/shadow_label.h"
#include "testing/files.h"
#include "testing/temp_folder.h"

using namespace koyomi;
using namespace koyomi::testing;

namespace {

struct AboutBoxSeen {
    QString title;
    QString version;
    QSize size;
    QString folders;
};

}  // namespace

class MainWindowHelpTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { InstallJapaneseFontSubstitutes(); }

    void init() {
        folder_ = std::make_unique<TempFolder>();
        MainWindow::Options options;
        options.program_file = folder_->path() / "koyomivw";
        form_ = std::make_unique<MainWindow>(std::move(options));
        launcher_ = RecordingLauncher();
        form_->SetDesktopLauncher(&launcher_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QTest::qWait(20);  // the first show sets the version text
    }

    void cleanup() {
        form_.reset();
        folder_.reset();
    }

    void ContentsOpenTheHtmlHelpFromMenuAndButton() {
        form_->findChild<QAction*>(QStringLiteral("help_contents_action"))->trigger();
        form_->findChild<QToolButton*>(QStringLiteral("help_button"))->click();
        const std::string contents = FileUrl(HtmlHelpContentsPath(folder_->path()));
        QCOMPARE(launcher_.opened, (std::vector<std::string>{contents, contents}));
    }

    void CompiledHelpIsPreferredWhenShipped() {
        const std::filesystem::path chm = folder_->path() / "koyomivw.chm";
        WriteBytes(chm, "ITSF");
        form_->findChild<QAction*>(QStringLiteral("help_contents_action"))->trigger();
        QCOMPARE(launcher_.opened, std::vector<std::string>{FileUrl(chm)});
    }

    // Each opening builds a new box with the version text; it is gone once closed.
    void AboutBoxShowsTheVersionEveryTime() {
        std::vector<AboutBoxSeen> seen;
        const auto answer = [this, &seen](QWidget* modal) {
            auto* box = qobject_cast<AboutBox*>(modal);
            if (box == nullptr) {
                modal->close();
                return;
            }
            seen.push_back({box->windowTitle(), box->version_label_->caption(), box->size(),
                            box->folder_list_ != nullptr ? box->folder_list_->text() : QString()});
            box->version_label_->SetCaption(QStringLiteral("changed"));
            box->home_page_button_->click();
            box->ok_button_->click();
        };
        WhenModal(answer);
        form_->findChild<QAction*>(QStringLiteral("about_action"))->trigger();
        QVERIFY(form_->findChildren<AboutBox*>().isEmpty());
        WhenModal(answer);
        form_->findChild<QToolButton*>(QStringLiteral("about_button"))->click();
        QVERIFY(form_->findChildren<AboutBox*>().isEmpty());

        QCOMPARE(int(seen.size()), 2);
        for (const AboutBoxSeen& box : seen) {
            QCOMPARE(box.title, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(box.version, QStringLiteral("Ver.1.02"));
            // The stored form's box, grown below the buttons by the list of folders in use.
            QCOMPARE(box.size.width(), 324);
            QVERIFY(box.size.height() > 258);
            const QString folder = QString::fromStdString(folder_->path().string());
            QCOMPARE(box.folders, QStringLiteral("プログラム: %1\nデータ: %1\n設定ファイル: "
                                                 "%1/koyomivw.ini\nPDFの保存先: %1")
                                      .arg(folder));
        }
        const std::string home = HomePageUrl(folder_->path());
        QCOMPARE(launcher_.opened, (std::vector<std::string>{home, home}));
    }

    // The help pages and the home page lie beside the built program, and every link between
    // them leads to a shipped file.
    void ShippedPagesAreCompleteAndLinked() {
        const QString program_dir = qEnvironmentVariable("KOYOMI_PROGRAM_DIR");
        if (program_dir.isEmpty()) {
            QSKIP("KOYOMI_PROGRAM_DIR is not set; run the test through ctest");
        }
        const std::filesystem::path folder = program_dir.toStdString();
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
            QDirIterator pages(program_dir + QLatin1Char('/') + QLatin1String(sub),
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
    RecordingLauncher launcher_;
    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<MainWindow> form_;
};

QTEST_MAIN(MainWindowHelpTest)
#include "main_window_help_test.moc"

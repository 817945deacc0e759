// Printing from the main window on a machine without a printer: the list goes into a PDF file
// in the documents folder chosen at start-up (the program folder for a copy kept there),
// named after the list title.
#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QtTest>

#include "app/app_test_support.h"
#include "app/qt/main_window.h"
#include "app/qt/print_setup_dialog.h"
#include "output/print_file_name.h"
#include "schedule/year_file.h"
#include "support/clock.h"
#include "support/qt/japanese_fonts.h"
#include "support/qt/qt_text.h"
#include "testing/record_by_record_store.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

using namespace koyomi;
using namespace koyomi::testing;

namespace {

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// "841.89 x 595.276 pts (A4)" -> landscape.
bool IsLandscape(const QString& pageSize) {
    const QStringList parts = pageSize.split(QLatin1Char(' '));
    return parts.size() >= 3 && parts[0].toDouble() > parts[2].toDouble();
}

}  // namespace

class MainWindowPrintTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        InstallJapaneseFontSubstitutes();
        if (!QPrinterInfo::availablePrinters().isEmpty()) {
            QSKIP("this machine has printers: the test would print on paper");
        }
        if (!HasPopplerTools()) {
            QSKIP(
                "pdftotext and pdfinfo (poppler-utils) are needed to read the printed PDF "
                "back; install poppler-utils");
        }
    }

    void init() {
        folder_ = std::make_unique<TempFolder>();
        StoreRecords(folder_->path());
        MainWindow::Options options;
        options.program_file = folder_->path() / "koyomivw";
        OpenWindow(std::move(options));
    }

    void cleanup() {
        form_.reset();
        folder_.reset();
    }

    // An installed copy: year files from the data folder, the page into the documents folder,
    // the settings into their own file, and nothing into the program folder.
    void InstalledCopyUsesTheFoldersChosenAtStartUp() {
        form_.reset();
        AppFolders folders;
        folders.program_folder = folder_->path() / "program";
        folders.data_folder = folder_->path() / "data";
        folders.settings_file = folder_->path() / "config" / "koyomivw.ini";
        folders.documents_folder = folder_->path() / "documents";
        folders.beside_program = false;
        for (const auto& folder : {folders.program_folder, folders.data_folder,
                                   folders.settings_file.parent_path(), folders.documents_folder}) {
            std::filesystem::create_directories(folder);
        }
        StoreRecords(folders.data_folder);
        MainWindow::Options options;
        options.program_file = folders.program_folder / "koyomivw";
        options.folders = folders;
        OpenWindow(std::move(options));
        ChooseFirstYear();

        Action("print_action")->trigger();
        const QString pdf =
            PathText(PrintPdfPath(folders.documents_folder, form_->viewer().model().title));
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        QVERIFY(form_->statusBar()->currentMessage().contains(pdf));
        form_->close();
        form_.reset();
        QVERIFY(std::filesystem::exists(folders.settings_file));
        QVERIFY(std::filesystem::is_empty(folders.program_folder));
    }

    void ListGoesIntoAPdfNamedAfterItsTitle() {
        ChooseFirstYear();
        const std::string title = form_->viewer().model().title;
        QCOMPARE(SjisToQString(title), QStringLiteral("2024年 スケジュール【ALL】"));

        Action("print_action")->trigger();

        const QString pdf = PathText(PrintPdfPath(folder_->path(), title));
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        QCOMPARE(PdfPageCount(pdf), 1);
        const QString text = PdfText(pdf);
        for (const QString& expected :
             {QStringLiteral("2024年 スケジュール【ALL】"), QStringLiteral("年月日"),
              QStringLiteral("レース名"), QStringLiteral("天皇賞（春）"),
              QStringLiteral("安田記念")}) {
            QVERIFY2(text.contains(expected), qPrintable(expected));
        }
        const QString status = form_->statusBar()->currentMessage();
        QVERIFY2(status.contains(pdf), qPrintable(status));
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Title")),
                 QStringLiteral("2024年 スケジュール【ALL】"));
    }

    void LongListRunsOverPagesEachWithTheTitle() {
        std::vector<std::string> work;
        for (int day = 1; day <= 28; ++day) {
            for (const char* venue : {"01", "05", "08"}) {
                for (const char* month : {"01", "02", "03"}) {
                    YsRecord record;
                    record.month = month;
                    record.day = (day < 10 ? "0" : "") + std::to_string(day);
                    record.venue = venue;
                    StoreRecordByRewrite(folder_->path(), record.Record(), work);
                }
            }
        }
        ChooseFirstYear();
        Action("print_action")->trigger();
        const QString pdf = PathText(PrintPdfPath(folder_->path(), form_->viewer().model().title));
        const int pages = PdfPageCount(pdf);
        // 254 rows of 15 screen pixels (about 4 mm) on the 277 mm of an A4 page.
        QVERIFY2(pages >= 3 && pages <= 5, qPrintable(QString::number(pages)));
        for (int page = 1; page <= pages; ++page) {
            QVERIFY(PdfText(pdf, page).contains(QStringLiteral("2024年 スケジュール【ALL】")));
        }
        QVERIFY(PdfText(pdf, 1).contains(QStringLiteral("年月日")));
        QVERIFY(!PdfText(pdf, 2).contains(QStringLiteral("年月日")));
    }

    void WithoutAListTheEmptyTableStillPrints() {
        Action("print_action")->trigger();
        const QString pdf = PathText(folder_->path() / "koyomivw.pdf");
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        QVERIFY(PdfText(pdf).contains(QStringLiteral("年月日")));
    }

    void SetUpChoicesApplyToLaterJobs() {
        ChooseFirstYear();
        bool answered = false;
        WhenModal([&answered](QWidget* modal) {
            auto* dialog = qobject_cast<QPageSetupDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            if (auto* landscape = dialog->findChild<QRadioButton*>(QStringLiteral("landscape"))) {
                landscape->click();
                answered = true;
            }
            dialog->accept();
        });
        Action("print_setup_action")->trigger();
        QVERIFY2(answered, "no page set-up dialog with a landscape choice");

        Action("print_action")->trigger();
        const QString pdf = PathText(PrintPdfPath(folder_->path(), form_->viewer().model().title));
        QVERIFY(IsLandscape(PdfInfo(pdf, QStringLiteral("Page size"))));
        // And the next job still.
        QVERIFY(QFile::remove(pdf));
        Action("print_action")->trigger();
        QVERIFY(IsLandscape(PdfInfo(pdf, QStringLiteral("Page size"))));
    }

    void FailureIsReportedInABox() {
        ChooseFirstYear();
        const std::filesystem::path pdf =
            PrintPdfPath(folder_->path(), form_->viewer().model().title);
        std::filesystem::create_directories(pdf);  // the file cannot be written
        QString message;
        WhenModal([&message](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                message = box->text();
            }
            modal->close();
        });
        Action("print_action")->trigger();
        QVERIFY2(message.startsWith(QStringLiteral("印刷を開始できませんでした。")),
                 qPrintable(message));
        QVERIFY(message.contains(PathText(pdf)));
        QVERIFY(!form_->statusBar()->currentMessage().contains(QStringLiteral("PDF")));
    }

    // With printers the set-up is the platform's print dialog, which would offer to print.
    void SetUpDialogWithPrintersReadsAsSetUp() {
        QPrinter printer;
        const std::unique_ptr<QDialog> dialog = MakePrintSetupDialog(printer, true, form_.get());
        QVERIFY(qobject_cast<QPrintDialog*>(dialog.get()) != nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("ﾌﾟﾘﾝﾀの設定"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(buttons != nullptr);
        QCOMPARE(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            QVERIFY2(!button->text().contains(QStringLiteral("Print"), Qt::CaseInsensitive),
                     qPrintable(button->text()));
        }
        dialog->reject();
    }

  private:
    void StoreRecords(const std::filesystem::path& folder) {
        std::vector<std::string> work;
        YsRecord spring;
        YsRecord summer;
        summer.month = "06";
        summer.day = "02";
        summer.venue = "09";
        summer.race_name = Utf8ToSjis("安田記念");
        for (const YsRecord& record : {spring, summer}) {
            QCOMPARE(int(StoreRecordByRewrite(folder, record.Record(), work).status),
                     int(StoreStatus::Stored));
        }
    }

    void OpenWindow(MainWindow::Options options) {
        options.clock = &clock_;
        form_ = std::make_unique<MainWindow>(std::move(options));
        form_->SetDesktopLauncher(&launcher_);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    QAction* Action(const char* name) {
        auto* action = form_->findChild<QAction*>(QString::fromLatin1(name));
        if (action == nullptr) {
            qFatal("no action %s", name);
        }
        return action;
    }

    void ChooseFirstYear() {
        auto* years = form_->findChild<QComboBox*>(QStringLiteral("year_selector"));
        QVERIFY(years != nullptr);
        QVERIFY(years->count() > 0);
        years->setCurrentIndex(0);
        emit years->activated(0);
    }

    FixedClock clock_{LocalDateTime{2024, 1, 10, 9, 0, 0}};
    RecordingLauncher launcher_;
    std::unique_ptr<TempFolder> folder_;
    std::unique_ptr<MainWindow> form_;
};

QTEST_MAIN(MainWindowPrintTest)
#include "main_window_print_test.moc"

// The window's calendar export, "重賞のみ", today's mark, "今日へ移動", the turn of the day and
// the first-run hint, headless.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/qt/grid_hint_panel.h"
#include "app/qt/main_window.h"
#include "app/qt/schedule_grid_delegate.h"
#include "app_test_support.h"
#include "schedule/year_file.h"
#include "support/clock.h"
#include "support/qt/qt_text.h"
#include "support/qt/shadow_label.h"
#include "support/settings_file.h"
#include "testing/files.h"
#include "testing/record_by_record_store.h"
#include "testing/scripted_jv_link.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WhenModal;
using testing::YsRecord;

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

YsRecord Day(const char* month, const char* day, const char* venue, const char* grade) {
    YsRecord record;
    record.month = month;
    record.day = day;
    record.venue = venue;
    record.grade = grade;
    return record;
}

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

class MainWindowCalendarTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TempFolder> folder_;
    FixedClock clock_{{2024, 5, 4, 9, 0, 0}};

    std::filesystem::path ProgramFile() const { return folder_->path() / "koyomivw"; }

    std::unique_ptr<MainWindow> MakeWindow() {
        MainWindow::Options options;
        options.program_file = ProgramFile();
        options.jv_link = std::make_unique<testing::ScriptedJVLink>();  // present and idle
        options.clock = &clock_;
        return std::make_unique<MainWindow>(std::move(options));
    }

    // 2024 from May: Tokyo G1 and a Kyoto special race (E) on the 4th, an ungraded Tokyo day on
    // the 5th, a Hanshin jump grade (F) on 1 June.
    void StoreYear() {
        std::vector<std::string> work;
        for (const YsRecord& record : {Day("05", "04", "05", "A"), Day("05", "04", "08", "E"),
                                       Day("05", "05", "05", " "), Day("06", "01", "09", "F")}) {
            QVERIFY(testing::StoreRecordByRewrite(folder_->path(), record.Record(), work).status ==
                    StoreStatus::Stored);
        }
    }

    static void ChooseFirstYear(MainWindow& window) {
        auto* years = window.findChild<QComboBox*>("year_selector");
        years->setCurrentIndex(0);
        emit years->activated(0);
    }

    static QTableView* Grid(MainWindow& window) {
        return window.findChild<QTableView*>("schedule_table");
    }

    static int Rows(MainWindow& window) { return Grid(window)->model()->rowCount(); }

    static void ShowActive(MainWindow& window) {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    // Types the name as a user would; selecting a file of another folder races with the
    // dialog's own loading of that folder.
    static void TypeFileName(QFileDialog& dialog, const std::filesystem::path& file) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit != nullptr);
        edit->setText(QString::fromStdString(file.string()));
    }

    // Answers the save dialog with `file` after checking what it proposed.
    static void AnswerSaveDialog(const std::filesystem::path& file, QString* proposed_folder,
                                 QString* proposed_name) {
        WhenModal([=](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            *proposed_folder = dialog->directory().absolutePath();
            *proposed_name = dialog->selectedFiles().value(0).section(QLatin1Char('/'), -1);
            TypeFileName(*dialog, file);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }

  private slots:
    void init() {
        folder_ = std::make_unique<TempFolder>();
        std::filesystem::create_directories(folder_->path() / "home" / "Documents");
        qputenv("HOME", QByteArray::fromStdString((folder_->path() / "home").string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((folder_->path() / "cfg").string()));
    }
    void cleanup() { folder_.reset(); }

    void GradedOnlyNarrowsMarksTheTitleAndIsRestored() {
        StoreYear();
        std::string clipboard_before;
        {
            auto window = MakeWindow();
            auto* graded = window->findChild<QCheckBox*>("graded_check");
            QVERIFY(!graded->isChecked());
            ChooseFirstYear(*window);
            QCOMPARE(Rows(*window), 4);
            clipboard_before = window->viewer().ClipboardBytes();

            graded->setChecked(true);
            QCOMPARE(Rows(*window), 2);
            QCOMPARE(Grid(*window)->model()->index(1, 0).data().toString(), Q("  2"));
            QCOMPARE(window->findChild<ShadowLabel*>("title_label")->caption(),
                     Q("2024年 スケジュール【ALL】 ＜重賞＞"));
            QVERIFY(SjisToQString(window->viewer().ClipboardBytes())
                        .startsWith(Q("2024年 スケジュール【ALL】 ＜重賞＞\r\n")));

            graded->setChecked(false);
            QCOMPARE(window->viewer().ClipboardBytes(), clipboard_before);
            graded->setChecked(true);
        }
        SettingsFile settings(ProgramFile());
        settings.Loaded();
        QCOMPARE(settings.ReadInteger("jusho", "jusho", -1), 1);

        auto again = MakeWindow();
        QVERIFY(again->findChild<QCheckBox*>("graded_check")->isChecked());
        ChooseFirstYear(*again);
        QCOMPARE(Rows(*again), 2);
        // A venue chosen while the filter is on keeps it.
        auto* venues = again->findChild<QComboBox*>("venue_selector");
        const int kyoto = venues->findText(Q("京都"));
        QVERIFY(kyoto > 0);
        venues->setCurrentIndex(kyoto);
        emit venues->activated(kyoto);
        QCOMPARE(Rows(*again), 0);
    }

    void TodayIsMarkedAndCtrlTMovesToTheNextMeetingDay() {
        StoreYear();
        auto window = MakeWindow();
        ChooseFirstYear(*window);
        QCOMPARE(window->MarkedRows(), (std::vector<int>{0, 1}));
        ShowActive(*window);
        QTableView* grid = Grid(*window);

        // The frame is drawn on the marked rows only, over the column colours.
        const QImage image = grid->viewport()->grab().toImage();
        const QRect marked = grid->visualRect(grid->model()->index(0, 3));
        const QRect plain = grid->visualRect(grid->model()->index(2, 3));
        QCOMPARE(image.pixelColor(marked.center().x(), marked.top() + 1), TodayFrameColour());
        QVERIFY(image.pixelColor(plain.center().x(), plain.top() + 1) != TodayFrameColour());
        QCOMPARE(image.pixelColor(marked.left() + 2, marked.bottom() - 3),
                 QColor(0xBB, 0xFF, 0xBB));

        clock_.Set({2024, 5, 5, 8, 0, 0});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
        // A button's shortcut clicks it a moment later, as the button shows itself pressed.
        QTRY_COMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(QApplication::focusWidget(), grid);

        clock_.Set({2024, 5, 20, 8, 0, 0});
        window->findChild<QToolButton*>("today_button")->click();
        QCOMPARE(grid->currentIndex().row(), 3);

        clock_.Set({2024, 6, 2, 8, 0, 0});
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
        QTRY_COMPARE(window->statusBar()->currentMessage(),
                     Q("今日以降の開催日はこのリストにありません"));
        QCOMPARE(grid->currentIndex().row(), 3);
    }

    void MidnightMovesTheMarkAndRebuildsTheMessage() {
        StoreYear();
        clock_.Set({2024, 5, 3, 23, 59, 50});
        auto window = MakeWindow();
        ChooseFirstYear(*window);
        QVERIFY(window->MarkedRows().empty());
        QVERIFY(SjisToQString(window->viewer().message_text()).startsWith(Q("【明日の開催】")));

        auto* day_timer = window->findChild<QTimer*>("day_timer");
        QVERIFY(day_timer->isActive());
        QMetaObject::invokeMethod(day_timer, "timeout");
        QVERIFY(window->MarkedRows().empty());  // still the same day

        clock_.Set({2024, 5, 4, 0, 0, 20});
        QMetaObject::invokeMethod(day_timer, "timeout");
        QCOMPARE(window->MarkedRows(), (std::vector<int>{0, 1}));
        const QString message = SjisToQString(window->viewer().message_text());
        QVERIFY2(message.startsWith(Q("【本日の開催】")), qPrintable(message));
        QVERIFY(message.contains(Q("【明日の開催】")));
    }

    void CalendarIsSavedWhereChosenAndTheFolderRemembered() {
        StoreYear();
        auto window = MakeWindow();
        ChooseFirstYear(*window);
        window->findChild<QCheckBox*>("graded_check")->setChecked(true);

        const std::filesystem::path out = folder_->path() / "out";
        std::filesystem::create_directory(out);
        QString folder;
        QString name;
        AnswerSaveDialog(out / "season.ics", &folder, &name);
        window->findChild<QAction*>("calendar_action")->trigger();
        QCOMPARE(folder, QString::fromStdString((folder_->path() / "home" / "Documents").string()));
        QCOMPARE(name, Q("2024年 スケジュール【ALL】 ＜重賞＞.ics"));
        const std::string ics = ReadBytes(out / "season.ics");
        QCOMPARE(Count(ics, "BEGIN:VEVENT"), 2);
        QVERIFY(ics.find("X-WR-CALNAME:2024年 スケジュール【ALL】 ＜重賞＞\r\n") !=
                std::string::npos);
        QVERIFY(window->statusBar()->currentMessage().contains(
            QString::fromStdString((out / "season.ics").string())));

        // The next dialog opens where the last file went; a folder gone by the time of writing
        // is reported with the file and the reason, and nothing is written.
        const std::filesystem::path gone = folder_->path() / "gone";
        std::filesystem::create_directory(gone);
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) {
                modal->close();
                return;
            }
            folder = dialog->directory().absolutePath();
            TypeFileName(*dialog, gone / "x.ics");
            QMetaObject::invokeMethod(dialog, "accept");
            std::filesystem::remove_all(gone);
            WhenModal([&](QWidget* box) {
                if (auto* message = qobject_cast<QMessageBox*>(box)) {
                    name = message->text();
                }
                box->close();
            });
        });
        window->findChild<QAction*>("calendar_action")->trigger();
        QCOMPARE(folder, QString::fromStdString(out.string()));
        QVERIFY2(name.contains(QString::fromStdString((gone / "x.ics").string())),
                 qPrintable(name));
        QVERIFY(name.contains(Q("No such file or directory")));
        QVERIFY(!std::filesystem::exists(gone));
    }

    void HintSaysFetchFirstThenChooseAYearAndNeverReachesTheGrid() {
        {
            auto window = MakeWindow();
            QVERIFY(window->GridHint().contains(Q("「JVデータ取得」")));
        }
        StoreYear();
        auto window = MakeWindow();
        window->resize(640, 480);
        auto* panel = window->findChild<GridHintPanel*>();
        const QImage image = panel->grab().toImage();
        const QColor background = image.pixelColor(1, 1);
        bool painted = false;
        for (int x = 0; x < image.width() && !painted; ++x) {
            painted = image.pixelColor(x, image.height() / 2) != background;
        }
        QVERIFY(painted);  // the hint is drawn across the middle of the empty grid area
        const QString choose = window->GridHint();
        QVERIFY(!choose.isEmpty() && !choose.contains(Q("JVデータ取得")));
        QVERIFY(!SjisToQString(window->viewer().ClipboardBytes()).contains(choose));
        ChooseFirstYear(*window);
        QVERIFY(window->GridHint().isEmpty());
    }
};

}  // namespace koyomi

QTEST_MAIN(koyomi::MainWindowCalendarTest)
#include "main_window_calendar_test.moc"

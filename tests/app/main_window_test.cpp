// The main window headless: start-up state, settings, the selectors, cell colours and the
// clipboard.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "app/qt/main_window.h"
#include "app/qt/schedule_grid_delegate.h"
#include "schedule/schedule_grid.h"
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
using testing::WriteBytes;
using testing::YsRecord;

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

YsRecord Day(const char* year, const char* month, const char* day, const char* venue) {
    YsRecord record;
    record.year = year;
    record.month = month;
    record.day = day;
    record.venue = venue;
    return record;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<TempFolder> folder_;
    FixedClock clock_{{2024, 5, 3, 12, 0, 0}};

    std::filesystem::path ProgramFile() const { return folder_->path() / "koyomivw"; }
    std::filesystem::path SettingsPath() const { return folder_->path() / "koyomivw.ini"; }

    std::unique_ptr<MainWindow> MakeWindow() {
        MainWindow::Options options;
        options.program_file = ProgramFile();
        // A control that is present and idle: every call succeeds and there is never anything
        // to read.
        options.jv_link = std::make_unique<testing::ScriptedJVLink>();
        options.clock = &clock_;
        return std::make_unique<MainWindow>(std::move(options));
    }

    void StoreYear2024() {
        std::vector<std::string> work;
        for (const YsRecord& record : {Day("2024", "04", "28", "08"), Day("2024", "05", "04", "05"),
                                       Day("2024", "05", "04", "08"), Day("2024", "05", "05", "05"),
                                       Day("2024", "06", "01", "09")}) {
            QVERIFY(testing::StoreRecordByRewrite(folder_->path(), record.Record(), work).status ==
                    StoreStatus::Stored);
        }
    }

  private slots:
    void init() { folder_ = std::make_unique<TempFolder>(); }
    void cleanup() { folder_.reset(); }

    void FirstStartUsesDefaults() {
        auto window = MakeWindow();
        QCOMPARE(window->pos(), QPoint(10, 10));
        QCOMPARE(window->size(), QSize(630, 450));
        QCOMPARE(window->findChild<QButtonGroup*>()->checkedId(), 0);
        QVERIFY(window->findChild<QAction*>("setup_data_action")->isChecked());
        QCOMPARE(window->findChild<QComboBox*>("year_selector")->count(), 0);
        QVERIFY(window->findChild<QTableView*>("schedule_table")->isHidden());
        QCOMPARE(window->findChild<QTableView*>("schedule_table")->columnWidth(13), 230);
        QCOMPARE(window->findChild<QTableView*>("schedule_table")->columnWidth(4), 15);
    }

    // Every heading fits its column with the header's margins: none is clipped.
    void ColumnsAreWideEnoughForTheirHeadings() {
        auto window = MakeWindow();
        const auto* grid = window->findChild<QTableView*>("schedule_table");
        const QHeaderView* header = grid->horizontalHeader();
        const QFontMetrics metrics(header->font());
        const int margins =
            2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int column = 0; column < kScheduleColumnCount; ++column) {
            const QString heading = grid->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(grid->columnWidth(column) >= metrics.horizontalAdvance(heading) + margins,
                     qPrintable(heading));
            QVERIFY(grid->columnWidth(column) >=
                    ScheduleColumns()[static_cast<size_t>(column)].width);
        }
    }

    void SavedSettingsComeBackAndCloseSavesGeometry() {
        WriteBytes(SettingsPath(),
                   "[locate]\r\ntop=40\r\nleft=50\r\nwidth=700\r\nheight=500\r\n"
                   "[kikan]\r\nkikan=1\r\n[JvDataGet]\r\nLastTime=2024/05/01 10:00:00\r\n");
        {
            auto window = MakeWindow();
            QCOMPARE(window->pos(), QPoint(50, 40));
            QCOMPARE(window->size(), QSize(700, 500));
            QCOMPARE(window->findChild<QButtonGroup*>()->checkedId(), 1);
            QVERIFY(window->findChild<QAction*>("normal_data_action")->isChecked());
            window->resize(720, 510);
            window->close();
        }
        SettingsFile settings(ProgramFile());
        settings.Loaded();
        QCOMPARE(settings.ReadInteger("locate", "width", 0), 720);
        QCOMPARE(settings.ReadInteger("locate", "height", 0), 510);
        // A blank time stamp counts as none.
        QVERIFY(settings.WriteString("JvDataGet", "LastTime", "   ").Ok());
        auto again = MakeWindow();
        QVERIFY(again->findChild<QAction*>("setup_data_action")->isChecked());
    }

    void ChoosingYearVenueAndPeriod() {
        StoreYear2024();
        std::vector<std::string> work;
        QVERIFY(testing::StoreRecordByRewrite(folder_->path(),
                                              Day("2023", "12", "28", "06").Record(), work)
                    .status == StoreStatus::Stored);
        auto window = MakeWindow();
        auto* years = window->findChild<QComboBox*>("year_selector");
        QCOMPARE(years->count(), 2);
        QCOMPARE(years->itemText(0), Q("2024年ｽｹｼﾞｭｰﾙ"));
        QCOMPARE(years->currentIndex(), -1);

        // The arrow key chooses exactly as a click does.
        years->setFocus();
        QTest::keyClick(years, Qt::Key_Down);
        QCOMPARE(years->currentIndex(), 0);
        auto* grid = window->findChild<QTableView*>("schedule_table");
        QVERIFY(!grid->isHidden());
        // From this month (May) on: the April line is left out.
        QCOMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(grid->model()->index(0, 0).data().toString(), Q("  1"));
        QCOMPARE(grid->model()->index(0, 1).data().toString(), Q("2024年05月04日"));
        QCOMPARE(grid->model()->headerData(13, Qt::Horizontal).toString(), Q("レース名"));
        QCOMPARE(grid->columnWidth(13), 230);
        QCOMPARE(grid->rowHeight(3), 15);
        QCOMPARE(window->findChild<ShadowLabel*>("title_label")->caption(),
                 Q("2024年 スケジュール【ALL】"));

        auto* venues = window->findChild<QComboBox*>("venue_selector");
        QCOMPARE(venues->count(), 4);  // 全開催場所, 東京, 京都, 阪神
        QCOMPARE(venues->itemText(0), Q("全開催場所"));
        const int tokyo = venues->findText(Q("東京"));
        QVERIFY(tokyo > 0);
        venues->setCurrentIndex(tokyo);
        emit venues->activated(tokyo);
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(window->findChild<ShadowLabel*>("title_label")->caption(),
                 Q("2024年 スケジュール【東京】"));

        // All months, the venue kept; the choice is saved.
        window->findChild<QButtonGroup*>()->button(1)->click();
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(venues->currentText(), Q("東京"));
        SettingsFile settings(ProgramFile());
        settings.Loaded();
        QCOMPARE(settings.ReadInteger("kikan", "kikan", -1), 1);

        // Back to every venue: all five lines of the year.
        venues->setCurrentIndex(0);
        emit venues->activated(0);
        QCOMPARE(grid->model()->rowCount(), 5);
        QCOMPARE(grid->model()->index(4, 0).data().toString(), Q("  5"));
    }

    void YearFileThatVanishedKeepsTheList() {
        StoreYear2024();
        auto window = MakeWindow();
        auto* years = window->findChild<QComboBox*>("year_selector");
        std::filesystem::remove(folder_->path() / YearFileName("2024"));
        // The failure box is modal; close it as soon as it shows.
        QTimer::singleShot(50, [] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
            }
        });
        years->setCurrentIndex(0);
        emit years->activated(0);
        QVERIFY(window->viewer().model().schedule_lines.empty());
        QVERIFY(window->findChild<QTableView*>("schedule_table")->isHidden());
        QCOMPARE(years->currentIndex(), -1);
    }

    void YearFileThatVanishedLeavesTheSelectorOnTheShownYear() {
        StoreYear2024();
        std::vector<std::string> work;
        QVERIFY(testing::StoreRecordByRewrite(folder_->path(),
                                              Day("2023", "12", "28", "06").Record(), work)
                    .status == StoreStatus::Stored);
        auto window = MakeWindow();
        auto* years = window->findChild<QComboBox*>("year_selector");
        years->setCurrentIndex(1);
        emit years->activated(1);
        const QString title = Q("2023年 スケジュール【ALL】");
        QCOMPARE(window->findChild<ShadowLabel*>("title_label")->caption(), title);

        std::filesystem::remove(folder_->path() / YearFileName("2024"));
        QString box_text;
        QTimer::singleShot(50, [&box_text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box_text = box->text();
                box->close();
            }
        });
        years->setCurrentIndex(0);
        emit years->activated(0);
        QVERIFY2(box_text.contains(Q("2024")), qPrintable(box_text));
        QCOMPARE(years->currentIndex(), 1);
        QCOMPARE(years->currentText(), Q("2023年ｽｹｼﾞｭｰﾙ"));
        QCOMPARE(window->findChild<ShadowLabel*>("title_label")->caption(), title);
    }

    void MessageAndCellColours() {
        StoreYear2024();
        clock_.Set({2024, 5, 4, 9, 0, 0});
        auto window = MakeWindow();
        auto* years = window->findChild<QComboBox*>("year_selector");
        years->setCurrentIndex(0);
        emit years->activated(0);
        const QString message = SjisToQString(window->viewer().message_text());
        QVERIFY2(message.startsWith(Q("【本日の開催】　★東京")), qPrintable(message));
        QVERIFY(message.contains(Q("【明日の開催】　★東京")));

        const QPalette palette = window->palette();
        QCOMPARE(ScheduleCellBackground(0, palette), QColor(0x00, 0xFF, 0xFF));
        QCOMPARE(ScheduleCellBackground(1, palette), palette.color(QPalette::ToolTipBase));
        QCOMPARE(ScheduleCellBackground(4, palette), QColor(0xBB, 0xFF, 0xBB));
        QCOMPARE(ScheduleCellBackground(7, palette), QColor(0xFC, 0xC5, 0xF1));
        QCOMPARE(ScheduleCellBackground(13, palette), QColor(Qt::white));
        QVERIFY(ScheduleCellAlignment(13) & Qt::AlignLeft);
        QVERIFY(ScheduleCellAlignment(2) & Qt::AlignHCenter);

        // The band scrolls 4 pixels a tick and comes back in from the right.
        const int start = window->viewer().ticker_offset();
        QTest::qWait(350);
        QVERIFY(window->viewer().ticker_offset() < start);
        QCOMPARE((start - window->viewer().ticker_offset()) % 4, 0);
    }

    void KeyboardFocusStartsAtTheYearAndTabsThroughTheSelectors() {
        StoreYear2024();
        auto window = MakeWindow();
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* years = window->findChild<QComboBox*>("year_selector");
        QTRY_COMPARE(QApplication::focusWidget(), years);
        QTest::keyClick(years, Qt::Key_Down);  // a list makes the grid visible and reachable
        const char* order[] = {"venue_selector", "period_button_0", "graded_check",
                               "schedule_table"};
        for (const char* name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(name));
        }
    }

    void ClipboardHoldsTitleAndTabSeparatedRows() {
        StoreYear2024();
        auto window = MakeWindow();
        auto* years = window->findChild<QComboBox*>("year_selector");
        years->setCurrentIndex(0);
        emit years->activated(0);
        window->findChild<QAction*>("copy_action")->trigger();
        const QString text = QGuiApplication::clipboard()->text();
        const QStringList lines = text.split(Q("\r\n"));
        QCOMPARE(lines.size(), 1 + 5 + 1);  // title, heading, four rows, and after the last CR LF
        QCOMPARE(lines[0], Q("2024年 スケジュール【ALL】"));
        QVERIFY(lines[1].startsWith(Q("No.\t年月日\t曜日\t場所")));
        QCOMPARE(lines[2].count(QLatin1Char('\t')), 13);
        QVERIFY(lines.last().isEmpty());
        QCOMPARE(SjisToQString(window->viewer().ClipboardBytes()), text);
    }
};

}  // namespace koyomi

QTEST_MAIN(koyomi::MainWindowTest)
#include "main_window_test.moc"

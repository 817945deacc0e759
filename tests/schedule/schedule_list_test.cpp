#include <gtest/gtest.h>

#include "schedule/schedule_list.h"
#include "support/sjis_text.h"
#include "testing/files.h"
#include "testing/temp_folder.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::YsRecord;

std::string S(const char* utf8) {
    return Utf8ToSjis(utf8);
}

YsRecord Meeting(const char* month, const char* day, const char* venue, const char* meeting,
                 const char* day_number, const char* weekday, const char* race_name) {
    YsRecord record;
    record.month = month;
    record.day = day;
    record.venue = venue;
    record.meeting = meeting;
    record.day_number = day_number;
    record.weekday = weekday;
    record.race_name = S(race_name);
    return record;
}

std::string StoredLine(const YsRecord& record) {
    std::string line = record.Line();
    line.replace(2, 9, "000000000");
    return line;
}

// A 2024 year file: Nakayama in March, September and December, Hanshin only in April,
// Tokyo and Kyoto in May.
std::vector<std::string> YearLines() {
    return {
        StoredLine(Meeting("03", "02", "06", "02", "03", "1", "オーシャンＳ")),
        StoredLine(Meeting("04", "07", "09", "02", "06", "2", "桜花賞")),
        StoredLine(Meeting("05", "04", "05", "02", "05", "1", "京王杯ＳＣ")),
        StoredLine(Meeting("05", "04", "08", "03", "05", "1", "京都新聞杯")),
        StoredLine(Meeting("05", "05", "05", "02", "06", "2", "ＮＨＫマイルＣ")),
        StoredLine(Meeting("09", "08", "06", "04", "02", "2", "京成杯ＡＨ")),
        StoredLine(Meeting("12", "28", "06", "05", "10", "1", "ホープフルＳ")),
    };
}

class ScheduleLists : public ::testing::Test {
  protected:
    ScheduleLists() { model_.schedule_lines = YearLines(); }

    std::vector<std::string> Column(GridColumn column) const {
        std::vector<std::string> cells;
        for (int row = 0; row < model_.grid.RowCount(); ++row) {
            cells.push_back(model_.grid.Cell(column, row));
        }
        return cells;
    }
    void SelectVenue(const char* venue) {
        const auto& items = model_.venue_selector.items;
        auto it = std::find(items.begin(), items.end(), S(venue));
        ASSERT_NE(it, items.end()) << venue;
        model_.venue_selector.item_index = static_cast<int>(it - items.begin());
    }

    ScheduleListModel model_;
    FixedClock may_fourth_{{2024, 5, 4, 9, 0, 0}};
};

TEST_F(ScheduleLists, AllMonthsShowsEveryLineNumberedFromOne) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    EXPECT_EQ(model_.shown_lines, model_.schedule_lines);
    ASSERT_EQ(model_.grid.RowCount(), 7);
    EXPECT_EQ(Column(GridColumn::Number),
              (std::vector<std::string>{"  1", "  2", "  3", "  4", "  5", "  6", "  7"}));
    EXPECT_EQ(Column(GridColumn::Venue),
              (std::vector<std::string>{S("中山"), S("阪神"), S("東京"), S("京都"), S("東京"),
                                        S("中山"), S("中山")}));
    EXPECT_EQ(model_.title, S("2024年 スケジュール【ALL】"));
    EXPECT_TRUE(model_.grid.Visible());
}

TEST_F(ScheduleLists, VenueSelectorOffersEachVenueOnceInLineOrder) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    // Code page 932 order: 京 0x8B9E, 中 0x9286, 東 0x938C, 阪 0x8DE3.
    const std::vector<std::string> venues = {S("京都"), S("阪神"), S("中山"), S("東京")};
    EXPECT_EQ(model_.venue_names, venues);
    std::vector<std::string> items = {S("全開催場所")};
    items.insert(items.end(), venues.begin(), venues.end());
    EXPECT_EQ(model_.venue_selector.items, items);
    EXPECT_EQ(model_.venue_selector.item_index, 0);
    EXPECT_EQ(model_.venue_selector.Text(), AllVenuesItem());
}

TEST_F(ScheduleLists, FromThisMonthKeepsThisMonthOnwardsAndOnlyTheirVenues) {
    BuildFullList(model_, Period::FromThisMonth, may_fourth_);
    const std::vector<std::string> all = YearLines();
    EXPECT_EQ(model_.shown_lines, std::vector<std::string>(all.begin() + 2, all.end()));
    EXPECT_EQ(Column(GridColumn::Number),
              (std::vector<std::string>{"  1", "  2", "  3", "  4", "  5"}));
    // Hanshin meets only in April, so it is not offered.
    EXPECT_EQ(model_.venue_names, (std::vector<std::string>{S("京都"), S("中山"), S("東京")}));
}

TEST_F(ScheduleLists, FromThisMonthComparesTheMonthOnlyNotTheYear) {
    for (std::string& line : model_.schedule_lines) {
        line.replace(11, 4, "2019");
    }
    BuildFullList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.shown_lines.size(), 5u);
    EXPECT_EQ(model_.title, S("2019年 スケジュール【ALL】"));
}

TEST_F(ScheduleLists, CellsFollowTheLinePositionsAndConversions) {
    YsRecord record = Meeting("05", "04", "05", "12", "10", "1", "天皇賞（春）");
    record.grade = "A";
    record.kind = "13";
    record.symbol = "001";
    record.weight = "4";
    record.distance = "0120";
    record.track = "17";
    record.count = "012";
    const std::string line = StoredLine(record);
    const ScheduleRow row = ScheduleRowCells(line, 42);
    const std::string fw(kFullWidthSpace);

    EXPECT_EQ(row[GridColumn::Number], " 42");
    EXPECT_EQ(row[GridColumn::Date], S("2024年05月04日"));
    EXPECT_EQ(row[GridColumn::Weekday], S("土"));
    EXPECT_EQ(row[GridColumn::Venue], S("東京"));
    EXPECT_EQ(row[GridColumn::Meeting], "2");    // second digit of "12"
    EXPECT_EQ(row[GridColumn::DayNumber], "0");  // second digit of "10"
    EXPECT_EQ(row[GridColumn::Grade], "G1   ");
    EXPECT_EQ(row[GridColumn::RaceKind], S("サラ３上"));
    std::string symbol = S("(指定)");
    for (int i = 0; i < 9; ++i) {
        symbol += fw;
    }
    EXPECT_EQ(row[GridColumn::RaceSymbol], symbol);
    EXPECT_EQ(row[GridColumn::Weight], S("定量"));
    EXPECT_EQ(row[GridColumn::Distance], " 120");
    EXPECT_EQ(row[GridColumn::Track], S("芝右"));
    EXPECT_EQ(row[GridColumn::RunningCount], " 12");
    // The race name keeps its padding: all 60 stored bytes.
    EXPECT_EQ(row[GridColumn::RaceName], line.substr(30, 60));
    EXPECT_EQ(row[GridColumn::RaceName], testing::PadFullWidth(S("天皇賞（春）"), 60));
}

TEST_F(ScheduleLists, RowNumbersStayRightAlignedPastNinetyNine) {
    model_.schedule_lines.assign(120, YearLines()[0]);
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    ASSERT_EQ(model_.grid.RowCount(), 120);
    EXPECT_EQ(model_.grid.Cell(GridColumn::Number, 8), "  9");
    EXPECT_EQ(model_.grid.Cell(GridColumn::Number, 9), " 10");
    EXPECT_EQ(model_.grid.Cell(GridColumn::Number, 119), "120");
    EXPECT_EQ(model_.venue_names, (std::vector<std::string>{S("中山")}));
}

TEST_F(ScheduleLists, EmptyPeriodShowsNoRowsWithTheYearOfTheFile) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);  // something shown before
    model_.schedule_lines.pop_back();                       // no December meeting left
    BuildFullList(model_, Period::FromThisMonth, FixedClock({2024, 12, 1, 0, 0, 0}));
    EXPECT_TRUE(model_.shown_lines.empty());
    EXPECT_EQ(model_.grid.RowCount(), 0);
    EXPECT_EQ(model_.title, S("2024年 スケジュール【ALL】"));
    EXPECT_TRUE(model_.venue_names.empty());
    EXPECT_EQ(model_.venue_selector.items, (std::vector<std::string>{S("全開催場所")}));
    EXPECT_EQ(model_.venue_selector.item_index, 0);
    EXPECT_TRUE(model_.message_text.empty());
    EXPECT_TRUE(model_.grid.Visible());
}

TEST_F(ScheduleLists, NoScheduleLinesLeavesEverythingAsItWas) {
    ScheduleListModel empty;
    BuildFullList(empty, Period::AllMonths, may_fourth_);
    EXPECT_EQ(empty.grid.RowCount(), 0);
    EXPECT_FALSE(empty.grid.Visible());
    EXPECT_TRUE(empty.venue_selector.items.empty());
    EXPECT_TRUE(empty.title.empty());

    BuildFullList(model_, Period::AllMonths, may_fourth_);
    const ScheduleListModel before = model_;
    model_.schedule_lines.clear();
    model_.venue_selector.item_index = 2;
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    model_.venue_selector.item_index = 0;
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.shown_lines, before.shown_lines);
    EXPECT_EQ(model_.grid.RowCount(), before.grid.RowCount());
    EXPECT_EQ(model_.title, before.title);
    EXPECT_EQ(model_.venue_selector.items, before.venue_selector.items);
    EXPECT_EQ(model_.message_text, before.message_text);
}

TEST_F(ScheduleLists, ShortAndBrokenLinesStillGiveRows) {
    model_.schedule_lines = {"YS", "YS00000000020xx", YearLines()[0]};
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    ASSERT_EQ(model_.grid.RowCount(), 3);
    EXPECT_EQ(model_.grid.Cell(GridColumn::Date, 0), S("年月日"));
    EXPECT_EQ(model_.grid.Cell(GridColumn::RaceName, 0), "");
    EXPECT_EQ(model_.title, S("年 スケジュール【ALL】"));

    // A month that is not a number is not "from this month on".
    BuildFullList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.shown_lines, (std::vector<std::string>{}));
}

TEST_F(ScheduleLists, VenueListShowsOneVenueAndKeepsTheSelector) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    SelectVenue("中山");
    const VenueSelector selector = model_.venue_selector;
    const std::vector<std::string> venue_names = model_.venue_names;

    BuildSelectedList(model_, Period::AllMonths, may_fourth_);
    const std::vector<std::string> all = YearLines();
    EXPECT_EQ(model_.shown_lines, (std::vector<std::string>{all[0], all[5], all[6]}));
    EXPECT_EQ(Column(GridColumn::Number), (std::vector<std::string>{"  1", "  2", "  3"}));
    EXPECT_EQ(
        Column(GridColumn::Date),
        (std::vector<std::string>{S("2024年03月02日"), S("2024年09月08日"), S("2024年12月28日")}));
    EXPECT_EQ(model_.title, S("2024年 スケジュール【中山】"));
    EXPECT_EQ(model_.venue_selector.items, selector.items);
    EXPECT_EQ(model_.venue_selector.item_index, selector.item_index);
    EXPECT_EQ(model_.venue_names, venue_names);
}

TEST_F(ScheduleLists, VenueWithoutMeetingsInThePeriodShowsNoRows) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    SelectVenue("阪神");
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.grid.RowCount(), 0);
    EXPECT_TRUE(model_.shown_lines.empty());
    EXPECT_EQ(model_.title, S("2024年 スケジュール【阪神】"));
    EXPECT_TRUE(model_.message_text.empty());
}

TEST_F(ScheduleLists, ChoosingAllVenuesAgainRebuildsTheFullList) {
    BuildFullList(model_, Period::AllMonths, may_fourth_);
    SelectVenue("東京");
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.grid.RowCount(), 2);
    model_.venue_selector.item_index = 0;
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.grid.RowCount(), 5);
    EXPECT_EQ(model_.venue_selector.items.size(), 4u);  // refilled for this month onwards
    EXPECT_EQ(model_.title, S("2024年 スケジュール【ALL】"));
}

TEST_F(ScheduleLists, MessageFollowsTheRowsShown) {
    BuildFullList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.message_text, S("【本日の開催】　★東京2回5日　京王杯ＳＣ★　　　"
                                     "★京都3回5日　京都新聞杯★　　　"
                                     "【明日の開催】　★東京2回6日　ＮＨＫマイルＣ★　　　"));
    SelectVenue("京都");
    BuildSelectedList(model_, Period::FromThisMonth, may_fourth_);
    EXPECT_EQ(model_.message_text, S("【本日の開催】　★京都3回5日　京都新聞杯★　　　"));
}

TEST_F(ScheduleLists, LoadingAYearFileBuildsItsFullListAndAFailureChangesNothing) {
    testing::TempFolder folder;
    const std::filesystem::path file = folder.path() / YearFileName("2024");
    std::string content;
    for (const std::string& line : YearLines()) {
        content += line + "\r\n";
    }
    testing::WriteBytes(file, content);

    ScheduleListModel model;
    Status loaded = LoadYearAndBuildFullList(model, file, Period::AllMonths, may_fourth_);
    ASSERT_TRUE(loaded.Ok()) << loaded.Reason();
    EXPECT_EQ(model.schedule_lines, YearLines());
    EXPECT_EQ(model.grid.RowCount(), 7);

    const ScheduleListModel before = model;
    Status failed = LoadYearAndBuildFullList(model, folder.path() / YearFileName("2023"),
                                             Period::FromThisMonth, may_fourth_);
    EXPECT_FALSE(failed.Ok());
    EXPECT_FALSE(failed.Reason().empty());
    EXPECT_EQ(model.schedule_lines, before.schedule_lines);
    EXPECT_EQ(model.shown_lines, before.shown_lines);
    EXPECT_EQ(model.grid.RowCount(), before.grid.RowCount());
    EXPECT_EQ(model.title, before.title);
}

}  // namespace
}  // namespace koyomi

// The graded filter, today's rows and the first-run hint: what the window's new parts decide
// before they draw anything.
#include <gtest/gtest.h>

#include "codes/code_tables.h"
#include "schedule/first_run_hint.h"
#include "schedule/graded_filter.h"
#include "schedule/schedule_list.h"
#include "schedule/today_rows.h"
#include "support/sjis_text.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

using testing::YsRecord;

std::string Line(const char* month, const char* day, const char* venue, const char* grade,
                 const char* race_name) {
    YsRecord record;
    record.month = month;
    record.day = day;
    record.venue = venue;
    record.grade = grade;
    record.race_name = Utf8ToSjis(race_name);
    std::string line = record.Line();
    line.replace(2, 9, "000000000");
    return line;
}

// 2024: a G1 at Tokyo, a special race (E) and a day without any race block at Kyoto, a jump
// grade at Nakayama and an ungraded listed race (D) at Hanshin, in file order.
std::vector<std::string> YearLines() {
    return {
        Line("05", "04", "05", "A", "天皇賞"), Line("05", "04", "08", "E", "特別戦"),
        Line("05", "05", "08", " ", ""),       Line("05", "11", "06", "F", "中山大障害"),
        Line("05", "12", "09", "D", "重賞戦"),
    };
}

FixedClock MayFourth() {
    return FixedClock({2024, 5, 4, 9, 0, 0});
}

TEST(GradedFilter, GradesAToDAndFToHAreGraded) {
    for (const char* code : {"A", "B", "C", "D", "F", "G", "H"}) {
        EXPECT_TRUE(IsGradedCode(code)) << code;
    }
    for (const char* code : {"E", " ", "", "I", "a", "AB"}) {
        EXPECT_FALSE(IsGradedCode(code)) << code;
    }
    EXPECT_FALSE(IsGradedLine("YS"));  // too short to hold a grade
}

TEST(GradedFilter, KeepsGradedRowsRenumbersAndMarksTheTitleOnce) {
    const FixedClock clock = MayFourth();
    ScheduleListModel model;
    model.schedule_lines = YearLines();
    BuildFullList(model, Period::AllMonths, clock);
    const std::vector<std::string> venues = model.venue_selector.items;
    const std::string title = model.title;
    ASSERT_NE(model.message_text.find(Utf8ToSjis("特別戦")), std::string::npos);

    KeepGradedRowsOnly(model, clock);
    KeepGradedRowsOnly(model, clock);

    const std::vector<std::string> graded = {YearLines()[0], YearLines()[3], YearLines()[4]};
    EXPECT_EQ(model.shown_lines, graded);
    ASSERT_EQ(model.grid.RowCount(), 3);
    EXPECT_EQ(model.grid.Row(0), ScheduleRowCells(graded[0], 1));
    EXPECT_EQ(model.grid.Row(2), ScheduleRowCells(graded[2], 3));
    EXPECT_EQ(model.title, title + Utf8ToSjis(" ＜重賞＞"));
    EXPECT_EQ(model.venue_selector.items, venues);
    // The message follows the rows shown: today's special race is gone, the G1 stays.
    EXPECT_EQ(model.message_text.find(Utf8ToSjis("特別戦")), std::string::npos);
    EXPECT_NE(model.message_text.find(Utf8ToSjis("天皇賞")), std::string::npos);
}

TEST(GradedFilter, VenueWithoutGradedRaceLeavesHeadingOnlyAndNoYearFileChangesNothing) {
    const FixedClock clock = MayFourth();
    ScheduleListModel model;
    model.schedule_lines = YearLines();
    BuildFullList(model, Period::AllMonths, clock);
    model.venue_selector.item_index = 1;
    while (model.venue_selector.Text() != VenueText("08", 2)) {
        ++model.venue_selector.item_index;
    }
    BuildSelectedList(model, Period::AllMonths, clock);
    KeepGradedRowsOnly(model, clock);
    EXPECT_EQ(model.grid.RowCount(), 0);
    EXPECT_TRUE(model.message_text.empty());
    EXPECT_TRUE(model.title.ends_with(GradedTitleSuffix()));

    ScheduleListModel empty;
    KeepGradedRowsOnly(empty, clock);
    EXPECT_TRUE(empty.title.empty());
    EXPECT_FALSE(empty.grid.Visible());
}

TEST(TodayRows, MarksEveryVenueOfTheDayAndFindsTheNextMeetingDay) {
    std::vector<std::string> lines = YearLines();
    lines.insert(lines.begin() + 1, "YS000000000202405X4");  // an unreadable date is passed over
    EXPECT_EQ(RowsOfDay(lines, {2024, 5, 4}), (std::vector<int>{0, 2}));
    EXPECT_TRUE(RowsOfDay(lines, {2024, 5, 6}).empty());
    EXPECT_TRUE(RowsOfDay(lines, {2025, 5, 4}).empty());  // same day, another year

    EXPECT_EQ(FirstRowOnOrAfter(lines, {2024, 1, 1}), 0);
    EXPECT_EQ(FirstRowOnOrAfter(lines, {2024, 5, 5}), 3);
    EXPECT_EQ(FirstRowOnOrAfter(lines, {2024, 5, 6}), 4);  // the next day with a meeting
    EXPECT_EQ(FirstRowOnOrAfter(lines, {2024, 5, 12}), 5);
    EXPECT_EQ(FirstRowOnOrAfter(lines, {2024, 5, 13}), std::nullopt);
    EXPECT_EQ(FirstRowOnOrAfter({}, {2024, 5, 13}), std::nullopt);
}

TEST(FirstRunHint, FetchFirstThenChooseAYearThenNothing) {
    EXPECT_EQ(DecideFirstRunHint(0, false), FirstRunHint::FetchData);
    EXPECT_EQ(DecideFirstRunHint(3, false), FirstRunHint::ChooseYear);
    EXPECT_EQ(DecideFirstRunHint(3, true), FirstRunHint::None);
    EXPECT_NE(FirstRunHintText(FirstRunHint::FetchData).find("「JVデータ取得」"),
              std::string::npos);
    EXPECT_FALSE(FirstRunHintText(FirstRunHint::ChooseYear).empty());
    EXPECT_TRUE(FirstRunHintText(FirstRunHint::None).empty());
}

}  // namespace
}  // namespace koyomi

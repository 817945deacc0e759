#include <gtest/gtest.h>

#include "schedule/meetings_message.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToSjis(utf8);
}

// A grid row as the lists fill it; only the columns the message reads matter.
ScheduleRow Row(const std::string& date, const std::string& venue, const std::string& meeting,
                const std::string& day, const std::string& race_name) {
    ScheduleRow row;
    row[0] = "  1";
    row[1] = S(date);
    row[3] = S(venue);
    row[4] = meeting;
    row[5] = day;
    row[13] = S(race_name);
    return row;
}

TEST(MeetingsMessage, TwoVenuesTodayAndNothingLaterGiveOneHeadingAndTwoEntries) {
    ScheduleGrid grid;
    grid.AppendRow(Row("2024年05月03日", "東京", "2", "4", "前日の競走"));
    grid.AppendRow(Row("2024年05月04日", "東京", "2", "5", "京王杯ＳＣ　　　　  "));
    grid.AppendRow(Row("2024年05月04日", "京都", "3", "5", " 京都新聞杯"));
    grid.AppendRow(Row("2024年05月07日", "新潟", "1", "1", "三日後"));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 5, 4, 23, 59, 0}),
              S("【本日の開催】　★東京2回5日　京王杯ＳＣ★　　　★京都3回5日　京都新聞杯★　　　"));
}

TEST(MeetingsMessage, TodayTomorrowAndTheDayAfterComeInThatOrder) {
    ScheduleGrid grid;
    grid.AppendRow(Row("2024年01月30日", "中山", "1", "8", "昨日"));
    grid.AppendRow(Row("2024年02月01日", "東京", "1", "2", "翌日"));
    grid.AppendRow(Row("2024年02月02日", "京都", "2", "3", "明後日"));
    grid.AppendRow(Row("2024年01月31日", "中山", "1", "9", "当日"));
    grid.AppendRow(Row("2024年02月01日", "中京", "1", "1", "翌日二"));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 1, 31, 8, 0, 0}),
              S("【本日の開催】　★中山1回9日　当日★　　　"
                "【明日の開催】　★東京1回2日　翌日★　　　★中京1回1日　翌日二★　　　"
                "【明後日の開催】　★京都2回3日　明後日★　　　"));
}

TEST(MeetingsMessage, StepsAcrossLeapDayAndYearEnd) {
    ScheduleGrid grid;
    grid.AppendRow(Row("2024年02月29日", "阪神", "1", "1", "閏日"));
    grid.AppendRow(Row("2024年03月01日", "阪神", "1", "2", "三月"));
    grid.AppendRow(Row("2024年12月31日", "大井", "1", "1", "大晦日"));
    grid.AppendRow(Row("2025年01月01日", "川崎", "1", "1", "元日"));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 2, 28, 0, 0, 0}),
              S("【明日の開催】　★阪神1回1日　閏日★　　　"
                "【明後日の開催】　★阪神1回2日　三月★　　　"));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 12, 30, 0, 0, 0}),
              S("【明日の開催】　★大井1回1日　大晦日★　　　"
                "【明後日の開催】　★川崎1回1日　元日★　　　"));
}

TEST(MeetingsMessage, YearEndNamesNothingTheGridDoesNotHold) {
    ScheduleGrid grid;
    grid.AppendRow(Row("2024年12月28日", "中山", "5", "9", "ホープフルＳ"));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 12, 31, 0, 0, 0}), "");
    EXPECT_EQ(BuildMeetingsMessage(ScheduleGrid(), LocalDateTime{2024, 12, 28, 0, 0, 0}), "");
}

TEST(MeetingsMessage, RaceNameLosesBlanksAtTheEndsAndEveryIdeographicSpace) {
    ScheduleGrid grid;
    grid.AppendRow(Row("2024年05月04日", "東京", "2", "5", "　　　　　　"));
    grid.AppendRow(Row("2024年05月04日", "京都", "3", "5", "\t天皇賞　（春） Ｇ１　　 "));
    EXPECT_EQ(BuildMeetingsMessage(grid, LocalDateTime{2024, 5, 4, 0, 0, 0}),
              S("【本日の開催】　★東京2回5日　★　　　★京都3回5日　天皇賞（春） Ｇ１★　　　"));
}

}  // namespace
}  // namespace koyomi

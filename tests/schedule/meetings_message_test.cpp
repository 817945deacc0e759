#include <gtest/gtest.h>

#include "schedule/meetings_message.h"
#include "support/sjis_text.h"
#include "testing/ys_record.h"

namespace koyomi {
namespace {

std::string S(const std::string& utf8) {
    return Utf8ToSjis(utf8);
}

// The shown lines and the grid rows made of them; only what the message reads matters: the
// line's date, and the row's venue, meeting and day digits and race name.
struct Shown {
    std::vector<std::string> lines;
    ScheduleGrid grid;

    Shown& Add(std::string_view date, const std::string& venue, const std::string& meeting,
               const std::string& day, const std::string& race_name) {
        lines.push_back(testing::YsRecord::Day(date, "05").Line());
        ScheduleRow row;
        row[GridColumn::Venue] = S(venue);
        row[GridColumn::Meeting] = meeting;
        row[GridColumn::DayNumber] = day;
        row[GridColumn::RaceName] = S(race_name);
        grid.AppendRow(row);
        return *this;
    }
    std::string Message(const LocalDateTime& today) const {
        return BuildMeetingsMessage(lines, grid, today);
    }
};

TEST(MeetingsMessage, TwoVenuesTodayAndNothingLaterGiveOneHeadingAndTwoEntries) {
    Shown shown;
    shown.Add("20240503", "東京", "2", "4", "前日の競走");
    shown.Add("20240504", "東京", "2", "5", "京王杯ＳＣ　　　　  ");
    shown.Add("20240504", "京都", "3", "5", " 京都新聞杯");
    shown.Add("20240507", "新潟", "1", "1", "三日後");
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 5, 4, 23, 59, 0}),
              S("【本日の開催】　★東京2回5日　京王杯ＳＣ★　　　★京都3回5日　京都新聞杯★　　　"));
}

TEST(MeetingsMessage, TodayTomorrowAndTheDayAfterComeInThatOrder) {
    Shown shown;
    shown.Add("20240130", "中山", "1", "8", "昨日");
    shown.Add("20240201", "東京", "1", "2", "翌日");
    shown.Add("20240202", "京都", "2", "3", "明後日");
    shown.Add("20240131", "中山", "1", "9", "当日");
    shown.Add("20240201", "中京", "1", "1", "翌日二");
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 1, 31, 8, 0, 0}),
              S("【本日の開催】　★中山1回9日　当日★　　　"
                "【明日の開催】　★東京1回2日　翌日★　　　★中京1回1日　翌日二★　　　"
                "【明後日の開催】　★京都2回3日　明後日★　　　"));
}

TEST(MeetingsMessage, StepsAcrossLeapDayAndYearEnd) {
    Shown shown;
    shown.Add("20240229", "阪神", "1", "1", "閏日");
    shown.Add("20240301", "阪神", "1", "2", "三月");
    shown.Add("20241231", "大井", "1", "1", "大晦日");
    shown.Add("20250101", "川崎", "1", "1", "元日");
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 2, 28, 0, 0, 0}),
              S("【明日の開催】　★阪神1回1日　閏日★　　　"
                "【明後日の開催】　★阪神1回2日　三月★　　　"));
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 12, 30, 0, 0, 0}),
              S("【明日の開催】　★大井1回1日　大晦日★　　　"
                "【明後日の開催】　★川崎1回1日　元日★　　　"));
}

TEST(MeetingsMessage, YearEndNamesNothingTheGridDoesNotHold) {
    Shown shown;
    shown.Add("20241228", "中山", "5", "9", "ホープフルＳ");
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 12, 31, 0, 0, 0}), "");
    EXPECT_EQ(Shown().Message({2024, 12, 28, 0, 0, 0}), "");
}

TEST(MeetingsMessage, RaceNameLosesBlanksAtTheEndsAndEveryIdeographicSpace) {
    Shown shown;
    shown.Add("20240504", "東京", "2", "5", "　　　　　　");
    shown.Add("20240504", "京都", "3", "5", "\t天皇賞　（春） Ｇ１　　 ");
    EXPECT_EQ(shown.Message(LocalDateTime{2024, 5, 4, 0, 0, 0}),
              S("【本日の開催】　★東京2回5日　★　　　★京都3回5日　天皇賞（春） Ｇ１★　　　"));
}

}  // namespace
}  // namespace koyomi

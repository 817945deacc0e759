#include "sample_rows.h"

#include <cstdio>
#include <string>

#include "support/sjis_text.h"

namespace koyomi::win32::testing {

ScheduleGrid SampleYearGrid() {
    static const char* const kVenues[] = {"東京", "京都", "新潟"};
    static const char* const kWeekdays[] = {"土", "日"};
    static const char* const kRaces[] = {"東京新聞杯", "京都記念", "新潟大賞典",
                                         "ＮＨＫマイルカップ"};
    ScheduleGrid grid;
    // 2026-01-03 is a Saturday; months are taken as 28 days, enough for a picture.
    int number = 1;
    for (int week = 0; week < 48; ++week) {
        for (int weekday = 0; weekday < 2; ++weekday) {
            const int day_of_year = 2 + week * 7 + weekday;
            const int month = day_of_year / 28 + 1;
            const int day = day_of_year % 28 + 1;
            for (int venue = 0; venue < 3; ++venue) {
                char date[32];
                std::snprintf(date, sizeof date, "2026年%02d月%02d日", month, day);
                ScheduleRow row;
                row[GridColumn::Number] = std::to_string(number++);
                row[GridColumn::Date] = Utf8ToSjis(date);
                row[GridColumn::Weekday] = Utf8ToSjis(kWeekdays[weekday]);
                row[GridColumn::Venue] = Utf8ToSjis(kVenues[venue]);
                row[GridColumn::Meeting] = std::to_string(week / 4 % 5 + 1);
                row[GridColumn::DayNumber] = std::to_string(week % 8 + 1);
                if ((week + venue) % 3 == 0 && weekday == 1) {
                    row[GridColumn::Grade] = venue == 0 ? "G1" : "G3";
                    row[GridColumn::RaceKind] = Utf8ToSjis("サラ３上");
                    row[GridColumn::RaceSymbol] = Utf8ToSjis("(国際)(指定)");
                    row[GridColumn::Weight] = Utf8ToSjis("定量");
                    row[GridColumn::Distance] = "1600";
                    row[GridColumn::Track] = Utf8ToSjis("芝左");
                    row[GridColumn::RunningCount] = std::to_string(40 + week);
                    row[GridColumn::RaceName] = Utf8ToSjis(kRaces[(week + venue) % 4]);
                }
                grid.AppendRow(std::move(row));
            }
        }
    }
    grid.Show();
    return grid;
}

}  // namespace koyomi::win32::testing

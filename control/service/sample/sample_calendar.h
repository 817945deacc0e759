// The meeting days of the sample schedule: the ten central venues racing at weekends, on a
// few holiday Mondays and on the New Year and year-end days, two or three venues a weekend,
// meetings of eight days.
#pragma once

#include <string_view>
#include <vector>

namespace koyomi {

struct SampleDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

struct SampleMeetingDay {
    SampleDate date;
    std::string_view venue;  // venue code "01" to "10"
    int meeting = 0;         // meeting number of the venue within the year
    int day = 0;             // day number within the meeting, 1 to 8
    char weekday = '1';      // weekday code: '1' Saturday, '2' Sunday, '3' holiday
};

// Every meeting day of `year`, in order of date, then venue code.
std::vector<SampleMeetingDay> SampleMeetingDays(int year);

}  // namespace koyomi

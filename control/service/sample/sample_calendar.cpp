#include "control/service/sample/sample_calendar.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "support/clock.h"

namespace koyomi {
namespace {

// A season of four weekends with the venues that race in it. Every venue holds one meeting of
// eight days per season; the season plan follows the usual shape of a JRA year.
struct Season {
    std::array<std::string_view, 3> venues;  // "" where only two venues race
};

constexpr int kWeekendsPerSeason = 4;
constexpr std::array<Season, 13> kSeasons = {{
    {{"06", "08", "07"}},  // January: Nakayama, Kyoto, Chukyo
    {{"05", "08", "10"}},  // February: Tokyo, Kyoto, Kokura
    {{"06", "09", "07"}},  // March: Nakayama, Hanshin, Chukyo
    {{"06", "09", "03"}},  // April: Nakayama, Hanshin, Fukushima
    {{"05", "08", "04"}},  // May: Tokyo, Kyoto, Niigata
    {{"05", "09", "02"}},  // June: Tokyo, Hanshin, Hakodate
    {{"03", "07", "02"}},  // July: Fukushima, Chukyo, Hakodate
    {{"04", "10", "01"}},  // August: Niigata, Kokura, Sapporo
    {{"04", "10", "01"}},  // late summer: Niigata, Kokura, Sapporo
    {{"06", "09", ""}},    // September: Nakayama, Hanshin
    {{"05", "08", "04"}},  // October: Tokyo, Kyoto, Niigata
    {{"05", "08", "03"}},  // November: Tokyo, Kyoto, Fukushima
    {{"06", "09", "07"}},  // December: Nakayama, Hanshin, Chukyo
}};

// 0 = Sunday ... 6 = Saturday (Sakamoto's method).
int DayOfWeek(int year, int month, int day) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) {
        year -= 1;
    }
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

// The n-th Monday of a month (n from 1).
int NthMonday(int year, int month, int n) {
    const int first = DayOfWeek(year, month, 1);
    const int first_monday = 1 + (8 - first) % 7;
    return first_monday + 7 * (n - 1);
}

// The Monday holidays that are racing days: Coming-of-Age Day, Respect-for-the-Aged Day and
// Sports Day, each on a fixed Monday of its month.
bool IsRacingHoliday(const LocalDateTime& date) {
    return (date.month == 1 && date.day == NthMonday(date.year, 1, 2)) ||
           (date.month == 9 && date.day == NthMonday(date.year, 9, 3)) ||
           (date.month == 10 && date.day == NthMonday(date.year, 10, 2));
}

SampleDate ToSampleDate(const LocalDateTime& value) {
    return {value.year, value.month, value.day};
}

// JV-Data weekday codes: '1' Saturday, '2' Sunday, '3' holiday, '4' Monday ... '8' Friday.
char WeekdayCode(const LocalDateTime& date) {
    static constexpr char kCodes[] = {'2', '4', '5', '6', '7', '8', '1'};
    return kCodes[DayOfWeek(date.year, date.month, date.day)];
}

bool Before(const LocalDateTime& a, const LocalDateTime& b) {
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

// Two racing days in a row, usually a weekend; `holiday` is a following Monday that is a
// racing day too.
struct RacingPair {
    LocalDateTime first;
    LocalDateTime second;
    std::optional<LocalDateTime> holiday;
};

// The year's racing: the New Year days 5 and 6 January, every weekend after them up to
// 28 December, and in a year that has one weekend too few for the season plan the year-end
// days 27 and 28 December.
std::vector<RacingPair> RacingPairs(int year) {
    std::vector<RacingPair> pairs;
    pairs.push_back({{year, 1, 5, 0, 0, 0}, {year, 1, 6, 0, 0, 0}, std::nullopt});
    LocalDateTime saturday{year, 1, 7, 0, 0, 0};
    saturday = AddDays(saturday, (6 - DayOfWeek(year, 1, 7) + 7) % 7);
    const LocalDateTime year_end{year, 12, 28, 0, 0, 0};
    for (LocalDateTime sunday = AddDays(saturday, 1); !Before(year_end, sunday);
         saturday = AddDays(saturday, 7), sunday = AddDays(saturday, 1)) {
        const LocalDateTime monday = AddDays(saturday, 2);
        pairs.push_back(
            {saturday, sunday, IsRacingHoliday(monday) ? std::optional(monday) : std::nullopt});
    }
    if (pairs.size() < kSeasons.size() * kWeekendsPerSeason) {
        pairs.push_back({{year, 12, 27, 0, 0, 0}, year_end, std::nullopt});
    }
    return pairs;
}

}  // namespace

std::vector<SampleMeetingDay> SampleMeetingDays(int year) {
    const std::vector<RacingPair> pairs = RacingPairs(year);
    std::map<std::string_view, int> meetings_held;
    std::vector<SampleMeetingDay> days;
    size_t next_pair = 0;
    for (const Season& season : kSeasons) {
        std::vector<std::string_view> venues;
        for (std::string_view venue : season.venues) {
            if (!venue.empty()) {
                venues.push_back(venue);
            }
        }
        std::vector<int> meeting_of(venues.size());
        std::vector<int> day_of(venues.size(), 0);
        for (size_t v = 0; v < venues.size(); ++v) {
            meeting_of[v] = ++meetings_held[venues[v]];
        }
        for (int weekend = 0; weekend < kWeekendsPerSeason && next_pair < pairs.size(); ++weekend) {
            const RacingPair& pair = pairs[next_pair++];
            // On a three-day weekend every venue races two of the three days, so no day has
            // more venues than a normal one and every meeting keeps its eight days.
            for (size_t v = 0; v < venues.size(); ++v) {
                std::vector<std::pair<LocalDateTime, char>> racing;
                if (!pair.holiday || v == 0) {
                    racing = {{pair.first, WeekdayCode(pair.first)},
                              {pair.second, WeekdayCode(pair.second)}};
                } else if (v == 1 && venues.size() == 3) {
                    racing = {{pair.first, WeekdayCode(pair.first)}, {*pair.holiday, '3'}};
                } else {
                    racing = {{pair.second, WeekdayCode(pair.second)}, {*pair.holiday, '3'}};
                }
                for (const auto& [date, weekday] : racing) {
                    days.push_back(
                        {ToSampleDate(date), venues[v], meeting_of[v], ++day_of[v], weekday});
                }
            }
        }
    }
    std::sort(days.begin(), days.end(), [](const SampleMeetingDay& a, const SampleMeetingDay& b) {
        return std::tie(a.date.month, a.date.day, a.venue) <
               std::tie(b.date.month, b.date.day, b.venue);
    });
    return days;
}

}  // namespace koyomi

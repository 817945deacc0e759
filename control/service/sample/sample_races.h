// The graded races of the sample schedule: well-known races at their usual venue, meeting
// day, distance and track, with how many times each had been run by 2025.
#pragma once

#include <span>
#include <string_view>

namespace koyomi {

struct SampleRace {
    std::string_view venue;       // venue code
    int meeting = 0;              // meeting number of the venue within the year
    int day = 0;                  // day number within the meeting
    std::string_view name;        // UTF-8, at most 30 full-width characters
    std::string_view short_name;  // UTF-8, at most 10 full-width characters
    int runs_in_2025 = 0;         // running count in 2025; one more each later year
    char grade = 'C';             // 'A' G1, 'B' G2, 'C' G3, 'F' J-G1, 'G' J-G2
    std::string_view kind;        // race kind code, e.g. "13" three-year-olds and up
    std::string_view symbol;      // race symbol code, e.g. "N01"
    char weight = '2';            // '1' handicap, '2' special weight, '3' age, '4' set weight
    int distance = 0;             // metres
    std::string_view track;       // track code, e.g. "17" turf right-handed
    int updated_distance = 0;     // the distance an update file corrects it to (0: none)
};

// Every graded race, in the order of the year.
std::span<const SampleRace> SampleGradedRaces();

}  // namespace koyomi

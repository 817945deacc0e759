// The fields of a schedule line: one "YS" record as a year file stores it, without its CR LF,
// with positions 3-11 set to "000000000". Every field is named here with its 1-based byte
// position and length; the rest of the program reads a line only through these accessors. A
// field that lies partly or wholly beyond the end of a short line reads as the bytes present,
// possibly none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace koyomi {

// Positions 1-11 of every line the program stores: the record kind, then the data kind and
// the creation date blanked to zeros.
inline constexpr std::string_view kStoredLineHeader = "YS000000000";
// The line key ends at position 27; a line shorter than that cannot be keyed.
inline constexpr size_t kLineKeyEnd = 27;

std::string_view LineRecordKind(std::string_view line);   // 1-2, "YS"
std::string_view LineYear(std::string_view line);         // 12-15, yyyy
std::string_view LineMonth(std::string_view line);        // 16-17, mm
std::string_view LineDayOfMonth(std::string_view line);   // 18-19, dd
std::string_view LineVenueCode(std::string_view line);    // 20-21
std::string_view LineMeeting(std::string_view line);      // 22-23, meeting number
std::string_view LineDayNumber(std::string_view line);    // 24-25, day of the meeting
std::string_view LineWeekdayCode(std::string_view line);  // 26
// Year, month, day, venue, meeting, day number, weekday and the first character of the first
// graded race's special race number (12-27): no two lines of a year file share it.
std::string_view LineKey(std::string_view line);
// Positions 1-27: the stored header followed by the key.
std::string_view LineHead(std::string_view line);

// The second digit of the meeting and of the day number (23 and 25), all the grid shows.
std::string_view LineMeetingDigit(std::string_view line);
std::string_view LineDayNumberDigit(std::string_view line);

// The first graded race of the day.
std::string_view LineRaceName(std::string_view line);        // 31-90, padding included
std::string_view LineRunningCount(std::string_view line);    // 129-131
std::string_view LineGradeCode(std::string_view line);       // 132
std::string_view LineRaceKindCode(std::string_view line);    // 133-134
std::string_view LineRaceSymbolCode(std::string_view line);  // 135-137
std::string_view LineWeightKindCode(std::string_view line);  // 138
std::string_view LineDistance(std::string_view line);        // 139-142, metres
std::string_view LineTrackCode(std::string_view line);       // 143-144

struct LineDate {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1 to the month's last day

    friend bool operator==(const LineDate&, const LineDate&) = default;
    friend auto operator<=>(const LineDate&, const LineDate&) = default;
};

// The meeting day of a line (positions 12-19): eight ASCII digits naming a day of the
// calendar, or none.
std::optional<LineDate> LineDateOf(std::string_view line);

// The line a record becomes: the record with positions 3-11 overwritten by "000000000"; the
// length is unchanged.
std::string NormalisedLine(std::string_view record);

}  // namespace koyomi

// The rows the grid shows as an iCalendar file (RFC 5545): one all-day event a meeting day,
// so the season can be followed in any calendar program. libical writes the format (escaping,
// folding at 75 octets, CR LF); this module decides what goes into each event.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "support/clock.h"
#include "support/result.h"

namespace koyomi {

// One meeting day as a calendar event. Texts in UTF-8; empty ones are left out of the file.
struct CalendarEvent {
    int year = 0;
    int month = 0;
    int day = 0;
    std::string uid;          // line key escaped + "@koyomivw"
    std::string summary;      // "東京 2回12日 日本ダービー(G1)"
    std::string location;     // the venue's full name
    std::string description;  // kind, symbol, weight rule, distance and track, one a line
    std::string category;     // the grade, for graded races only

    friend bool operator==(const CalendarEvent&, const CalendarEvent&) = default;
};

struct CalendarEvents {
    std::vector<CalendarEvent> events;
    std::vector<int> unreadable_rows;  // grid rows left out: no valid date in the line
};

// The events of the shown lines (line i is grid row i + 1), in grid order.
CalendarEvents MeetingEvents(const std::vector<std::string>& shown_lines);

// The UID of a line: positions 12-27, every byte outside 0-9, A-Z and a-z as "%XX", then
// "@koyomivw".
std::string EventUid(std::string_view line);

// The whole calendar: `title` (code page 932, as the window shows it) names it, `stamp` (local
// time from the clock) becomes every event's DTSTAMP in UTC. UTF-8 with CR LF line ends.
Result<std::string> CalendarText(std::string_view title, const std::vector<CalendarEvent>& events,
                                 const LocalDateTime& stamp);

// "<title>.ics" as a UTF-8 file name; characters a file name cannot hold become "_".
std::string ProposedCalendarFileName(std::string_view title);

// The folder the save dialog opens in: the one used last while it is still a folder, else the
// user's documents folder when there is one, else the home folder. Empty paths are not folders.
std::filesystem::path CalendarFolder(const std::filesystem::path& last_used,
                                     const std::filesystem::path& documents,
                                     const std::filesystem::path& home);

struct SavedCalendar {
    int events = 0;
    std::vector<int> unreadable_rows;
};

// Writes the calendar of the shown lines to `file`, replacing it atomically: on failure the
// result names the file and the system's reason, and no partial file is left behind.
Result<SavedCalendar> SaveCalendar(const std::filesystem::path& file, std::string_view title,
                                   const std::vector<std::string>& shown_lines, const Clock& clock);

}  // namespace koyomi

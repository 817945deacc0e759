#include "output/calendar_export.h"

#include <libical/ical.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <unordered_map>

#include "codes/code_tables.h"
#include "schedule/graded_filter.h"
#include "schedule/schedule_grid.h"
#include "schedule/schedule_line.h"
#include "schedule/schedule_list.h"
#include "support/sjis_text.h"
#include "support/whole_file.h"

namespace koyomi {
namespace {

constexpr std::string_view kProductId = "-//koyomivw//koyomivw//JA";
constexpr std::string_view kUidDomain = "@koyomivw";
constexpr std::string_view kIdeographicSpaceUtf8 = "\xE3\x80\x80";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Control characters would end a C string early (NUL) or break the line structure; a calendar
// text never needs them, so they become spaces.
std::string WithoutControls(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

// The code page 932 text in UTF-8 without blanks and ideographic spaces at either end.
std::string Trimmed(std::string_view sjis) {
    std::string text = WithoutControls(SjisToUtf8(sjis));
    std::string_view view = text;
    for (bool changed = true; changed;) {
        changed = false;
        while (!view.empty() && view.front() == ' ') {
            view.remove_prefix(1);
            changed = true;
        }
        while (!view.empty() && view.back() == ' ') {
            view.remove_suffix(1);
            changed = true;
        }
        if (view.starts_with(kIdeographicSpaceUtf8)) {
            view.remove_prefix(kIdeographicSpaceUtf8.size());
            changed = true;
        }
        if (view.ends_with(kIdeographicSpaceUtf8)) {
            view.remove_suffix(kIdeographicSpaceUtf8.size());
            changed = true;
        }
    }
    return std::string(view);
}

// A two-digit meeting or day number as a number ("02" gives "2", "12" gives "12"); anything
// else as it stands, trimmed.
std::string NumberText(std::string_view field) {
    if (field.size() == 2 && IsDigit(field[0]) && IsDigit(field[1])) {
        return std::to_string((field[0] - '0') * 10 + (field[1] - '0'));
    }
    return Trimmed(field);
}

// The line's meeting day, when it names a real one.
bool ReadDate(std::string_view line, CalendarEvent& event) {
    const std::optional<LineDate> date = LineDateOf(line);
    if (!date) {
        return false;
    }
    event.year = date->year;
    event.month = date->month;
    event.day = date->day;
    return true;
}

CalendarEvent EventOf(std::string_view line, const ScheduleRow& cells) {
    CalendarEvent event;
    event.uid = EventUid(line);

    const std::string venue = Trimmed(cells[GridColumn::Venue]);
    event.summary = venue.empty() ? venue : venue + " ";
    event.summary += NumberText(LineMeeting(line)) + "回" + NumberText(LineDayNumber(line)) + "日";
    if (IsGradedLine(line)) {
        event.category = Trimmed(cells[GridColumn::Grade]);
        event.summary += " " + Trimmed(cells[GridColumn::RaceName]) + "(" + event.category + ")";
    }
    event.location = Trimmed(VenueText(LineVenueCode(line), 9));

    for (GridColumn column : {GridColumn::RaceKind, GridColumn::RaceSymbol, GridColumn::Weight,
                              GridColumn::Distance, GridColumn::Track}) {
        std::string text = Trimmed(cells[column]);
        if (text.empty()) {
            continue;
        }
        if (!event.description.empty()) {
            event.description += "\n";
        }
        event.description += SjisToUtf8(ColumnOf(column).heading) + ": " + text;
    }
    return event;
}

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

icaltimetype DateValue(int year, int month, int day) {
    icaltimetype value = icaltime_null_date();
    value.year = year;
    value.month = month;
    value.day = day;
    value.is_date = 1;
    return value;
}

void AddText(icalcomponent* component, icalproperty* (*make)(const char*),
             const std::string& text) {
    if (!text.empty()) {
        icalcomponent_add_property(component, make(text.c_str()));
    }
}

}  // namespace

std::string EventUid(std::string_view line) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uid;
    for (char c : LineKey(line)) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            uid += c;
        } else {
            uid += '%';
            uid += kHex[byte >> 4];
            uid += kHex[byte & 0x0F];
        }
    }
    uid += kUidDomain;
    return uid;
}

CalendarEvents MeetingEvents(const std::vector<std::string>& shown_lines) {
    CalendarEvents result;
    std::unordered_map<std::string, int> uses;
    int row = 0;
    for (const std::string& line : shown_lines) {
        ++row;
        CalendarEvent event = EventOf(line, ScheduleRowCells(line, row));
        if (!ReadDate(line, event)) {
            result.unreadable_rows.push_back(row);
            continue;
        }
        // A year file keeps its line keys unique; one edited by hand may not, and two rows
        // must still be two events.
        const int use = ++uses[event.uid];
        if (use > 1) {
            event.uid.insert(event.uid.size() - kUidDomain.size(), "-" + std::to_string(use));
        }
        result.events.push_back(std::move(event));
    }
    return result;
}

Result<std::string> CalendarText(std::string_view title, const std::vector<CalendarEvent>& events,
                                 const LocalDateTime& stamp) {
    std::tm local{};
    local.tm_year = stamp.year - 1900;
    local.tm_mon = stamp.month - 1;
    local.tm_mday = stamp.day;
    local.tm_hour = stamp.hour;
    local.tm_min = stamp.minute;
    local.tm_sec = stamp.second;
    local.tm_isdst = -1;
    const std::time_t instant = std::mktime(&local);
    if (instant == static_cast<std::time_t>(-1)) {
        return Fail("the clock's time " + FormatCompact(stamp) + " has no UTC equivalent");
    }
    const icaltimetype dtstamp =
        icaltime_from_timet_with_zone(instant, 0, icaltimezone_get_utc_timezone());

    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid(std::string(kProductId).c_str()));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalproperty* name = icalproperty_new_x(WithoutControls(SjisToUtf8(title)).c_str());
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    icalcomponent_add_property(calendar.get(), name);

    for (const CalendarEvent& event : events) {
        icalcomponent* vevent = icalcomponent_new_vevent();
        icalcomponent_add_property(vevent, icalproperty_new_uid(event.uid.c_str()));
        icalcomponent_add_property(vevent, icalproperty_new_dtstamp(dtstamp));
        const icaltimetype start = DateValue(event.year, event.month, event.day);
        icaltimetype end = start;
        icaltime_adjust(&end, 1, 0, 0, 0);
        icalcomponent_add_property(vevent, icalproperty_new_dtstart(start));
        icalcomponent_add_property(vevent, icalproperty_new_dtend(end));
        AddText(vevent, icalproperty_new_summary, event.summary);
        AddText(vevent, icalproperty_new_location, event.location);
        AddText(vevent, icalproperty_new_description, event.description);
        AddText(vevent, icalproperty_new_categories, event.category);
        icalcomponent_add_component(calendar.get(), vevent);
    }

    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (text == nullptr) {
        return Fail(std::string("the calendar could not be written: ") +
                    icalerror_strerror(icalerrno));
    }
    std::string result(text);
    std::free(text);
    return result;
}

std::string ProposedCalendarFileName(std::string_view title) {
    std::string name = WithoutControls(SjisToUtf8(title));
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    if (name.empty() || name == "." || name == "..") {
        name = "koyomivw";
    }
    return name + ".ics";
}

std::filesystem::path CalendarFolder(const std::filesystem::path& last_used,
                                     const std::filesystem::path& documents,
                                     const std::filesystem::path& home) {
    for (const std::filesystem::path* folder : {&last_used, &documents}) {
        std::error_code error;
        if (!folder->empty() && std::filesystem::is_directory(*folder, error)) {
            return *folder;
        }
    }
    return home;
}

Result<SavedCalendar> SaveCalendar(const std::filesystem::path& file, std::string_view title,
                                   const std::vector<std::string>& shown_lines,
                                   const Clock& clock) {
    CalendarEvents rows = MeetingEvents(shown_lines);
    Result<std::string> text = CalendarText(title, rows.events, clock.Now());
    if (!text) {
        return Fail(text.Reason(), file);
    }
    // On disk before it is reported saved, as a year file is at the end of a fetch.
    ReplaceOptions options;
    options.sync = true;
    if (const Status written = ReplaceFileAtomically(file, *text, options); !written) {
        return Fail(written.Reason(), file, written.Kind());
    }
    return SavedCalendar{static_cast<int>(rows.events.size()), std::move(rows.unreadable_rows)};
}

}  // namespace koyomi

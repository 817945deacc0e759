// The full list, the venue list and the meetings message built from year-file lines of any
// bytes: every line gives exactly one row in file order, the period and venue filters keep
// exactly the lines they should, the venue selector is sorted and duplicate-free, the message
// names a day exactly when the grid shows one of its rows, and the line order is a strict weak
// order (which the sort of every year file relies on).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codes/code_tables.h"
#include "fuzz_support.h"
#include "schedule/meetings_message.h"
#include "schedule/schedule_line.h"
#include "schedule/schedule_list.h"
#include "schedule/year_file.h"
#include "support/clock.h"
#include "support/sjis_text.h"

namespace {

using namespace koyomi;

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool Within(std::string_view line, Period period, int month) {
    if (period == Period::AllMonths) {
        return true;
    }
    const std::optional<LineDate> date = LineDateOf(line);
    return date && date->month >= month;
}

void CheckOrder(const std::vector<std::string>& lines) {
    for (size_t i = 0; i + 2 < lines.size() && i < 12; ++i) {
        const std::string& a = lines[i];
        const std::string& b = lines[i + 1];
        const std::string& c = lines[i + 2];
        KOYOMI_REQUIRE(!ScheduleLineLess(a, a));
        KOYOMI_REQUIRE(!(ScheduleLineLess(a, b) && ScheduleLineLess(b, a)));
        if (ScheduleLineLess(a, b) && ScheduleLineLess(b, c)) {
            KOYOMI_REQUIRE(ScheduleLineLess(a, c));
        }
        const auto equivalent = [](const std::string& x, const std::string& y) {
            return !ScheduleLineLess(x, y) && !ScheduleLineLess(y, x);
        };
        if (equivalent(a, b) && equivalent(b, c)) {
            KOYOMI_REQUIRE(equivalent(a, c));
        }
    }
}

void CheckMessage(const ScheduleListModel& model, const LocalDateTime& today) {
    static const std::string kHeadings[] = {Utf8ToSjis("【本日の開催】　"),
                                            Utf8ToSjis("【明日の開催】　"),
                                            Utf8ToSjis("【明後日の開催】　")};
    std::optional<int> first_day;
    for (int offset = 2; offset >= 0; --offset) {
        const LocalDateTime day = AddDays(today, offset);
        for (const std::string& line : model.shown_lines) {
            if (LineDateOf(line) == LineDate{day.year, day.month, day.day}) {
                first_day = offset;
                break;
            }
        }
    }
    if (first_day) {
        KOYOMI_REQUIRE(model.message_text.starts_with(kHeadings[*first_day]));
    } else {
        KOYOMI_REQUIRE(model.message_text.empty());
    }
}

void CheckRows(const ScheduleListModel& model) {
    KOYOMI_REQUIRE(model.grid.Visible());
    KOYOMI_REQUIRE(model.grid.RowCount() == static_cast<int>(model.shown_lines.size()));
    for (int row = 0; row < model.grid.RowCount(); ++row) {
        KOYOMI_REQUIRE(model.grid.Row(row) ==
                       ScheduleRowCells(model.shown_lines[static_cast<size_t>(row)], row + 1));
    }
}

void CheckFullList(const ScheduleListModel& model, Period period, const LocalDateTime& now) {
    CheckRows(model);
    std::vector<std::string> expected;
    for (const std::string& line : model.schedule_lines) {
        if (Within(line, period, now.month)) {
            expected.push_back(line);
        }
    }
    KOYOMI_REQUIRE(model.shown_lines == expected);
    for (size_t i = 1; i < model.venue_names.size(); ++i) {
        KOYOMI_REQUIRE(ScheduleLineLess(model.venue_names[i - 1], model.venue_names[i]));
    }
    for (const std::string& line : model.shown_lines) {
        const std::string venue = VenueText(LineVenueCode(line), 2);
        KOYOMI_REQUIRE(std::any_of(
            model.venue_names.begin(), model.venue_names.end(), [&](const std::string& name) {
                return !ScheduleLineLess(name, venue) && !ScheduleLineLess(venue, name);
            }));
    }
    KOYOMI_REQUIRE(model.venue_selector.items.size() == model.venue_names.size() + 1);
    KOYOMI_REQUIRE(model.venue_selector.items.front() == AllVenuesItem());
    KOYOMI_REQUIRE(model.venue_selector.item_index == 0);
    CheckMessage(model, now);
}

void CheckVenueList(const ScheduleListModel& model, Period period, const LocalDateTime& now) {
    CheckRows(model);
    const std::string& venue = model.venue_selector.Text();
    std::vector<std::string> expected;
    for (const std::string& line : model.schedule_lines) {
        if (VenueText(LineVenueCode(line), 2) == venue && Within(line, period, now.month)) {
            expected.push_back(line);
        }
    }
    KOYOMI_REQUIRE(model.shown_lines == expected);
    KOYOMI_REQUIRE(model.title.starts_with(LineYear(model.schedule_lines.front())));
    CheckMessage(model, now);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    LocalDateTime now;
    now.year = input.ConsumeIntegralInRange(1990, 2100);
    now.month = input.ConsumeIntegralInRange(1, 12);
    now.day = input.ConsumeIntegralInRange(1, DaysInMonth(now.year, now.month));
    const FixedClock clock(now);
    const Period period = input.ConsumeBool() ? Period::AllMonths : Period::FromThisMonth;
    const int venue_pick = input.ConsumeIntegralInRange(-1, 16);

    ScheduleListModel model;
    while (input.remaining_bytes() > 0) {
        const std::uint8_t steer = input.ConsumeIntegral<std::uint8_t>();
        std::string line = input.ConsumeRandomLengthString(512);
        // Some lines are moved to the next days, so the message has meetings to name.
        if (steer < 4 && line.size() >= 19) {
            line.replace(11, 8, FormatCompact(AddDays(now, steer)).substr(0, 8));
        }
        model.schedule_lines.push_back(std::move(line));
    }
    CheckOrder(model.schedule_lines);

    const ScheduleListModel before = model;
    BuildFullList(model, period, clock);
    if (model.schedule_lines.empty()) {
        KOYOMI_REQUIRE(!model.grid.Visible() && model.shown_lines.empty());
        BuildVenueList(model, period, clock);
        KOYOMI_REQUIRE(!model.grid.Visible() && model.shown_lines.empty());
        return 0;
    }
    CheckFullList(model, period, now);

    model.venue_selector.item_index = venue_pick;
    BuildSelectedList(model, period, clock);
    if (venue_pick == 0) {
        CheckFullList(model, period, now);
    } else {
        CheckVenueList(model, period, now);
    }
    KOYOMI_REQUIRE(model.schedule_lines == before.schedule_lines);
    return 0;
}

#include "schedule/schedule_list.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "codes/code_tables.h"
#include "schedule/meetings_message.h"
#include "schedule/schedule_line.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

struct ListTexts {
    std::string year;         // "年"
    std::string month;        // "月"
    std::string day;          // "日"
    std::string all_title;    // "年 スケジュール【ALL】"
    std::string venue_title;  // "年 スケジュール【"
    std::string venue_close;  // "】"
};

const ListTexts& Texts() {
    static const ListTexts texts{
        Utf8ToSjis("年"),
        Utf8ToSjis("月"),
        Utf8ToSjis("日"),
        Utf8ToSjis("年 スケジュール【ALL】"),
        Utf8ToSjis("年 スケジュール【"),
        Utf8ToSjis("】"),
    };
    return texts;
}

// "今月以降" keeps the lines whose month is this month or later, whatever their year; a line
// without a readable date cannot be placed, so it is left out.
bool WithinPeriod(std::string_view line, Period period, int current_month) {
    if (period == Period::AllMonths) {
        return true;
    }
    const std::optional<LineDate> date = LineDateOf(line);
    return date && date->month >= current_month;
}

std::string VenueOf(std::string_view line) {
    return VenueText(LineVenueCode(line), 2);
}

void FillRows(ScheduleListModel& model, std::vector<std::string>* venue_names) {
    int row_number = 0;
    for (const std::string& line : model.shown_lines) {
        ScheduleRow row = ScheduleRowCells(line, ++row_number);
        if (venue_names != nullptr) {
            AddVenueName(*venue_names, row[GridColumn::Venue]);
        }
        model.grid.AppendRow(std::move(row));
    }
}

// Blanks the grid's data rows and takes the lines of the year file that `keep` accepts, in file
// order.
template <typename Keep>
void SelectShownLines(ScheduleListModel& model, Keep keep) {
    model.grid.Clear();
    model.shown_lines.clear();
    for (const std::string& line : model.schedule_lines) {
        if (keep(line)) {
            model.shown_lines.push_back(line);
        }
    }
}

}  // namespace

const std::string& VenueSelector::Text() const {
    static const std::string none;
    if (item_index < 0 || item_index >= static_cast<int>(items.size())) {
        return none;
    }
    return items[static_cast<size_t>(item_index)];
}

const std::string& AllVenuesItem() {
    static const std::string text = Utf8ToSjis("全開催場所");
    return text;
}

ScheduleRow ScheduleRowCells(std::string_view line, int row_number) {
    const ListTexts& texts = Texts();
    char number[16];
    std::snprintf(number, sizeof number, "%3d", row_number);

    ScheduleRow row;
    row[GridColumn::Number] = number;
    std::string& date = row[GridColumn::Date];
    date.reserve(14);
    date.append(LineYear(line)).append(texts.year);
    date.append(LineMonth(line)).append(texts.month);
    date.append(LineDayOfMonth(line)).append(texts.day);
    row[GridColumn::Weekday] = WeekdayText(LineWeekdayCode(line), 1);
    row[GridColumn::Venue] = VenueOf(line);
    // Only the second digit of the meeting and day numbers is shown.
    row[GridColumn::Meeting] = LineMeetingDigit(line);
    row[GridColumn::DayNumber] = LineDayNumberDigit(line);
    row[GridColumn::Grade] = GradeText(LineGradeCode(line), 1);
    row[GridColumn::RaceKind] = RaceKindText(LineRaceKindCode(line), 4);
    row[GridColumn::RaceSymbol] = RaceSymbolText(LineRaceSymbolCode(line));
    row[GridColumn::Weight] = WeightKindText(LineWeightKindCode(line));
    row[GridColumn::Distance] = NumberField(LineDistance(line));
    row[GridColumn::Track] = TrackText(LineTrackCode(line));
    row[GridColumn::RunningCount] = NumberField(LineRunningCount(line));
    row[GridColumn::RaceName] = LineRaceName(line);  // padding and all, as stored
    return row;
}

void AddVenueName(std::vector<std::string>& venue_names, const std::string& venue) {
    auto place = std::lower_bound(
        venue_names.begin(), venue_names.end(), venue,
        [](const std::string& a, const std::string& b) { return ScheduleLineLess(a, b); });
    if (place != venue_names.end() && !ScheduleLineLess(venue, *place)) {
        return;  // an equal text is there already
    }
    venue_names.insert(place, venue);
}

void BuildFullList(ScheduleListModel& model, Period period, const Clock& clock) {
    if (model.schedule_lines.empty()) {
        return;
    }
    const LocalDateTime now = clock.Now();
    SelectShownLines(
        model, [&](const std::string& line) { return WithinPeriod(line, period, now.month); });
    model.venue_names.clear();
    model.venue_selector.items.assign(1, AllVenuesItem());

    // With nothing left by the period the year still comes from the year file itself.
    const std::string& title_line =
        model.shown_lines.empty() ? model.schedule_lines.front() : model.shown_lines.front();
    model.title = std::string(LineYear(title_line)) + Texts().all_title;

    FillRows(model, &model.venue_names);
    model.venue_selector.items.insert(model.venue_selector.items.end(), model.venue_names.begin(),
                                      model.venue_names.end());
    model.venue_selector.item_index = 0;
    model.message_text = BuildMeetingsMessage(model.shown_lines, model.grid, now);
    model.grid.Show();
}

void BuildVenueList(ScheduleListModel& model, Period period, const Clock& clock) {
    const std::string venue = model.venue_selector.Text();
    if (model.schedule_lines.empty()) {
        return;
    }
    const LocalDateTime now = clock.Now();
    SelectShownLines(model, [&](const std::string& line) {
        return VenueOf(line) == venue && WithinPeriod(line, period, now.month);
    });
    const ListTexts& texts = Texts();
    model.title = std::string(LineYear(model.schedule_lines.front())) + texts.venue_title + venue +
                  texts.venue_close;
    FillRows(model, nullptr);
    model.message_text = BuildMeetingsMessage(model.shown_lines, model.grid, now);
    model.grid.Show();
}

void BuildSelectedList(ScheduleListModel& model, Period period, const Clock& clock) {
    if (model.venue_selector.item_index != 0) {
        BuildVenueList(model, period, clock);
    } else {
        BuildFullList(model, period, clock);
    }
}

Status LoadYearAndBuildFullList(ScheduleListModel& model, const std::filesystem::path& file,
                                Period period, const Clock& clock) {
    Result<std::vector<std::string>> loaded = LoadYearFile(file);
    if (!loaded) {
        return loaded.Error();
    }
    model.schedule_lines = std::move(loaded).Value();
    BuildFullList(model, period, clock);
    return {};
}

}  // namespace koyomi

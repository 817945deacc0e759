// The schedule lists of the main window as plain data: the lines of the chosen year, the
// lines shown, the venue selector, the title and the grid content, and the builders of the
// full list ("全リスト") and the venue list ("場所別リスト"). The window copies the model onto
// its widgets after each build. Texts are code page 932.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/schedule_grid.h"
#include "schedule/year_file.h"
#include "support/clock.h"

namespace koyomi {

// The period selector `period_group_` ("期間指定"); the values are its item indexes.
enum class Period {
    FromThisMonth = 0,  // "今月以降"
    AllMonths = 1,      // "全月分"
};

// The venue selector `venue_selector`: item 0 is "全開催場所", then the texts of `venue_names`.
struct VenueSelector {
    std::vector<std::string> items;
    int item_index = -1;  // -1: nothing selected

    // The text the selector shows: the selected item, or empty with no selection.
    const std::string& Text() const;
};

// "全開催場所", the first item of the venue selector.
const std::string& AllVenuesItem();

struct ScheduleListModel {
    std::vector<std::string> schedule_lines;  // the loaded year file, in file order
    std::vector<std::string> shown_lines;     // line i is grid row i
    std::vector<std::string> venue_names;     // venues of the full list: sorted, each once
    VenueSelector venue_selector;
    std::string title;  // the list title above the grid
    ScheduleGrid grid;
    std::string message_text;  // the meetings message of the band above the grid
};

// The 14 cells of one schedule line shown as row number `row_number` (counted from 1).
ScheduleRow ScheduleRowCells(std::string_view line, int row_number);

// Every line of `schedule_lines` within the period, all venues; refills `venue_names` and the
// venue selector (item 0 selected). A no-op while `schedule_lines` is empty. When the period
// leaves no line, the title takes its year from the first line of the year file.
void BuildFullList(ScheduleListModel& model, Period period, const Clock& clock);

// The lines within the period at the venue the selector shows; the selector and
// `venue_names` are left as they are. A no-op while `schedule_lines` is empty.
void BuildVenueList(ScheduleListModel& model, Period period, const Clock& clock);

// What a change of the venue selector (and of the period) runs: the full list when item 0
// is selected, the venue list otherwise.
void BuildSelectedList(ScheduleListModel& model, Period period, const Clock& clock);

// Loads a chosen year file into `schedule_lines` and builds the full list. When the file
// cannot be read the model is left exactly as it was and the result says why.
Status LoadYearAndBuildFullList(ScheduleListModel& model, const std::filesystem::path& file,
                                Period period, const Clock& clock);

// Adds a venue text to a sorted list (year-file line order) unless it is there already.
void AddVenueName(std::vector<std::string>& venue_names, const std::string& venue);

}  // namespace koyomi

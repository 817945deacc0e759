// The line that names the meetings of today, tomorrow and the day after, built from the rows
// the grid shows, so it follows the period and venue filters.
#pragma once

#include <string>
#include <vector>

#include "schedule/schedule_grid.h"
#include "support/clock.h"

namespace koyomi {

// "【本日の開催】　★東京2回4日　…★　　　" and so on for tomorrow and the day after; a day
// without meetings gives nothing. Code page 932.
// Row i of `grid` shows line i of `shown_lines`; the line gives the day, the row the texts.
std::string BuildMeetingsMessage(const std::vector<std::string>& shown_lines,
                                 const ScheduleGrid& grid, const LocalDateTime& today);
std::string BuildMeetingsMessage(const std::vector<std::string>& shown_lines,
                                 const ScheduleGrid& grid, const Clock& clock);

}  // namespace koyomi

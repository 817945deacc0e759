// "重賞のみ": the lists narrowed to the meeting days whose first graded-race block holds a
// graded race. With the filter off nothing here runs, so titles and cells stay as built.
#pragma once

#include <string>
#include <string_view>

#include "schedule/schedule_list.h"
#include "support/clock.h"

namespace koyomi {

// True for grade codes A to D (flat, and graded without a grade) and F to H (jumps). Code E
// is a special race that is not graded, and a blank block has no grade at all.
bool IsGradedCode(std::string_view grade_code);

// The grade code of the line's first graded-race block (position 132) is a graded one.
bool IsGradedLine(std::string_view line);

// " ＜重賞＞" in code page 932, appended to the title while the filter is on.
const std::string& GradedTitleSuffix();

// Run after a list build while the filter is on: keeps the shown lines of graded races,
// refills the grid numbered from 1, appends the suffix to the title once and rebuilds the
// meetings message from the rows left. The venue selector keeps the venues of the build, so
// turning the filter off and on never changes the chosen venue. A no-op while no year file is
// loaded.
void KeepGradedRowsOnly(ScheduleListModel& model, const Clock& clock);

}  // namespace koyomi

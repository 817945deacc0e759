// A year of grid rows as the schedule list makes them, cells in code page 932: every Saturday
// and Sunday of 2026 at three venues, with a graded race on some days.
#pragma once

#include "schedule/schedule_grid.h"

namespace koyomi::win32::testing {

ScheduleGrid SampleYearGrid();

}  // namespace koyomi::win32::testing

// The schedule grid as clipboard copy and printing read it: the column headings and the rows
// of the list model, measured as the grid widget shows them on screen.
#pragma once

#include <QTableView>

#include "output/grid_table.h"
#include "schedule/schedule_grid.h"

namespace koyomi {

GridTable ShownTable(const ScheduleGrid& grid, const QTableView& widget);

}  // namespace koyomi

// The schedule grid as clipboard copy and printing read it: the cells of the list model and
// the geometry of the grid widget on screen.
#pragma once

#include <QTableView>

#include "output/grid_source.h"
#include "schedule/schedule_grid.h"

namespace koyomi {

class GridWidgetSource final : public GridSource {
  public:
    GridWidgetSource(const ScheduleGrid& grid, const QTableView& widget)
        : grid_(grid), widget_(widget) {}

    int ColCount() const override { return grid_.ColCount(); }
    int RowCount() const override { return grid_.RowCount(); }
    std::string Cell(int col, int row) const override { return grid_.Cell(col, row); }
    int ColWidth(int col) const override;
    int RowHeight(int row) const override;

  private:
    const ScheduleGrid& grid_;
    const QTableView& widget_;
};

}  // namespace koyomi

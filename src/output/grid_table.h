// A table as clipboard copy and printing take it, put together row by row: the heading line
// first, then the data rows, each with its height on screen, and the width of each column.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "output/grid_source.h"
#include "schedule/schedule_grid.h"

namespace koyomi {

class GridTable final : public GridSource {
  public:
    // Screen pixels, one a column.
    explicit GridTable(std::vector<int> column_widths);

    // A row of the table below those added before; cells beyond the columns are not shown,
    // missing ones are empty.
    void AddRow(std::vector<std::string> cells, int height);

    int ColCount() const override { return static_cast<int>(widths_.size()); }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    // Empty outside the table.
    std::string Cell(int col, int row) const override;
    int ColWidth(int col) const override;
    int RowHeight(int row) const override;

  private:
    struct Row {
        std::vector<std::string> cells;
        int height = 0;
    };
    std::vector<int> widths_;
    std::vector<Row> rows_;
};

// The schedule grid as a table: the column headings one `heading_height` high, then the grid's
// rows; `widths` (one a column) and the heights in screen pixels.
GridTable ScheduleTable(const ScheduleGrid& grid, std::vector<int> widths, int heading_height,
                        const std::function<int(int row)>& row_height);

}  // namespace koyomi

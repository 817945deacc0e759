#include "output/grid_table.h"

#include <utility>

namespace koyomi {
namespace {

template <typename T>
const T* At(const std::vector<T>& items, int index) {
    return index >= 0 && index < static_cast<int>(items.size()) ? &items[static_cast<size_t>(index)]
                                                                : nullptr;
}

}  // namespace

GridTable::GridTable(std::vector<int> column_widths) : widths_(std::move(column_widths)) {}

void GridTable::AddRow(std::vector<std::string> cells, int height) {
    rows_.push_back({std::move(cells), height});
}

std::string GridTable::Cell(int col, int row) const {
    const Row* found = At(rows_, row);
    if (found == nullptr || col >= ColCount()) {
        return {};
    }
    const std::string* cell = At(found->cells, col);
    return cell == nullptr ? std::string() : *cell;
}

int GridTable::ColWidth(int col) const {
    const int* width = At(widths_, col);
    return width == nullptr ? 0 : *width;
}

int GridTable::RowHeight(int row) const {
    const Row* found = At(rows_, row);
    return found == nullptr ? 0 : found->height;
}

GridTable ScheduleTable(const ScheduleGrid& grid, std::vector<int> widths, int heading_height,
                        const std::function<int(int row)>& row_height) {
    GridTable table(std::move(widths));
    std::vector<std::string> headings;
    for (GridColumn column : kGridColumnOrder) {
        headings.push_back(ColumnOf(column).heading);
    }
    table.AddRow(std::move(headings), heading_height);
    for (int row = 0; row < grid.RowCount(); ++row) {
        std::vector<std::string> cells;
        for (GridColumn column : kGridColumnOrder) {
            cells.push_back(grid.Cell(column, row));
        }
        table.AddRow(std::move(cells), row_height(row));
    }
    return table;
}

}  // namespace koyomi

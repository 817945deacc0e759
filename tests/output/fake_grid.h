// A grid held in memory, for the clipboard and printing tests.
#pragma once

#include <string>
#include <vector>

#include "output/grid_source.h"

namespace koyomi {

class FakeGrid final : public GridSource {
  public:
    FakeGrid(std::vector<int> col_widths, std::vector<int> row_heights)
        : widths_(std::move(col_widths)),
          heights_(std::move(row_heights)),
          cells_(heights_.size(), std::vector<std::string>(widths_.size())) {
        for (size_t row = 0; row < heights_.size(); ++row) {
            for (size_t col = 0; col < widths_.size(); ++col) {
                cells_[row][col] = "r" + std::to_string(row) + "c" + std::to_string(col);
            }
        }
    }

    void SetCell(int col, int row, std::string text) { cells_.at(row).at(col) = std::move(text); }

    int ColCount() const override { return static_cast<int>(widths_.size()); }
    int RowCount() const override { return static_cast<int>(heights_.size()); }
    // .at(): a read outside the grid fails the test instead of passing unnoticed.
    std::string Cell(int col, int row) const override { return cells_.at(row).at(col); }
    int ColWidth(int col) const override { return widths_.at(col); }
    int RowHeight(int row) const override { return heights_.at(row); }

  private:
    std::vector<int> widths_;
    std::vector<int> heights_;
    std::vector<std::vector<std::string>> cells_;
};

}  // namespace koyomi

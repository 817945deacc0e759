// What the schedule grid shows: 14 columns, a heading row 0 and one data row per shown
// schedule line, cells in code page 932; plus the fixed look of each column. The window copies
// this onto its grid widget.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace koyomi {

inline constexpr int kScheduleColumnCount = 14;

// Background of a column's data cells: either the system's tooltip (info) background or a
// fixed colour.
struct ColumnBackground {
    bool system_info = false;  // when true, red/green/blue are not used
    std::uint8_t red = 0xFF;
    std::uint8_t green = 0xFF;
    std::uint8_t blue = 0xFF;

    friend bool operator==(const ColumnBackground&, const ColumnBackground&) = default;
};

struct ScheduleColumn {
    std::string heading;  // code page 932
    int width = 0;        // pixels
    ColumnBackground background;
    bool left_aligned = false;  // data text left-aligned; otherwise centred
};

// The 14 columns in order: "No.", "年月日", ... "レース名".
const std::array<ScheduleColumn, kScheduleColumnCount>& ScheduleColumns();

// Default height of every grid row, in pixels.
inline constexpr int kScheduleRowHeight = 15;

using ScheduleRow = std::array<std::string, kScheduleColumnCount>;

// The grid's content (`grid`). Row 0 always holds the headings.
class ScheduleGrid {
  public:
    ScheduleGrid();

    int ColCount() const { return kScheduleColumnCount; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The cell's text; empty outside the grid.
    const std::string& Cell(int col, int row) const;
    const ScheduleRow& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }

    // Leaves the heading row alone.
    void ClearDataRows() { rows_.resize(1); }
    void AppendRow(ScheduleRow row) { rows_.push_back(std::move(row)); }

    // Hidden until the first list is built, visible from then on.
    bool Visible() const { return visible_; }
    void Show() { visible_ = true; }

  private:
    std::vector<ScheduleRow> rows_;
    bool visible_ = false;
};

}  // namespace koyomi

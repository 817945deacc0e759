// What the schedule grid shows: 14 columns and one row per shown schedule line, cells in code
// page 932; plus the heading and fixed look of each column. The window copies this onto its
// grid widget, with the headings above the rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace koyomi {

inline constexpr int kScheduleColumnCount = 14;

enum class GridColumn {
    Number,        // "No."
    Date,          // "年月日"
    Weekday,       // "曜日"
    Venue,         // "場所"
    Meeting,       // "回"
    DayNumber,     // "日"
    Grade,         // "ｸﾞﾚｰﾄﾞ"
    RaceKind,      // "種別"
    RaceSymbol,    // "記号"
    Weight,        // "重量"
    Distance,      // "距離"
    Track,         // "ﾄﾗｯｸ"
    RunningCount,  // "重賞回"
    RaceName,      // "レース名"
};

// The columns from left to right.
inline constexpr std::array<GridColumn, kScheduleColumnCount> kGridColumnOrder = {
    GridColumn::Number,       GridColumn::Date,      GridColumn::Weekday,  GridColumn::Venue,
    GridColumn::Meeting,      GridColumn::DayNumber, GridColumn::Grade,    GridColumn::RaceKind,
    GridColumn::RaceSymbol,   GridColumn::Weight,    GridColumn::Distance, GridColumn::Track,
    GridColumn::RunningCount, GridColumn::RaceName,
};

// The column at a place from the left (0-based) of a table that shows the grid; none outside.
std::optional<GridColumn> GridColumnAt(int place);

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
const ScheduleColumn& ColumnOf(GridColumn column);

// Default height of every grid row, in pixels.
inline constexpr int kScheduleRowHeight = 15;

// The 14 cells of one row.
class ScheduleRow {
  public:
    std::string& operator[](GridColumn column) { return cells_[Place(column)]; }
    const std::string& operator[](GridColumn column) const { return cells_[Place(column)]; }

    friend bool operator==(const ScheduleRow&, const ScheduleRow&) = default;

  private:
    static size_t Place(GridColumn column) { return static_cast<size_t>(column); }
    std::array<std::string, kScheduleColumnCount> cells_;
};

// The grid's content: the rows of the shown lines, row i for line i. The headings are not a
// row; they come from ScheduleColumns().
class ScheduleGrid {
  public:
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The cell's text; empty outside the grid.
    const std::string& Cell(GridColumn column, int row) const;
    const ScheduleRow& Row(int row) const { return rows_.at(static_cast<size_t>(row)); }

    void Clear() { rows_.clear(); }
    void AppendRow(ScheduleRow row) { rows_.push_back(std::move(row)); }

    // Hidden until the first list is built, visible from then on.
    bool Visible() const { return visible_; }
    void Show() { visible_ = true; }

  private:
    std::vector<ScheduleRow> rows_;
    bool visible_ = false;
};

}  // namespace koyomi

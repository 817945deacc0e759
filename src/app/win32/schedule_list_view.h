// The schedule grid as a report list view: the 14 headings in the header, one row per data row
// of the grid, each cell painted in its column's colour with its text at the top, centred or
// (the mark and the race name) left-aligned, with no margin, wrap or ellipsis. Today's rows are
// bold in a dark red frame. The rows are held here as UTF-16 and given to the list on demand,
// so a year of rows costs one conversion, not one list item each.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "schedule/schedule_grid.h"

namespace koyomi::win32 {

// The frame of today's rows: dark red, readable on every column colour.
inline constexpr COLORREF kTodayFrameColour = RGB(0xB0, 0x00, 0x00);

// The background of a data cell of `column`.
COLORREF ScheduleCellColour(int column);

class ScheduleListView {
  public:
    explicit ScheduleListView(HWND parent);
    ScheduleListView(const ScheduleListView&) = delete;
    ScheduleListView& operator=(const ScheduleListView&) = delete;

    HWND window() const { return window_; }

    // The grid's headings and data rows; hidden while the grid is.
    void ShowGrid(const ScheduleGrid& grid);
    // Rows of the list (the first data row is 0) to mark as today's, in ascending order.
    void SetMarkedRows(std::vector<int> rows);
    const std::vector<int>& marked_rows() const { return marked_rows_; }
    // Makes `row` current and the first one shown, and gives the list the focus.
    void MoveToRow(int row);

    // After a DPI change: fonts (not owned), row height and column widths.
    void Arrange(int dpi, HFONT font, HFONT bold_font);

    // The list's WM_NOTIFY; true when answered, with the answer in `result`.
    bool HandleNotify(const NMHDR& header, LRESULT& result);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The text a cell shows; empty outside the rows.
    const std::wstring& CellText(int column, int row) const;
    int ColumnWidth(int column) const;

  private:
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
    RECT CellRect(int row, int column) const;

    HWND window_ = nullptr;
    HIMAGELIST row_height_images_ = nullptr;
    HFONT font_ = nullptr;
    HFONT bold_font_ = nullptr;
    std::array<std::wstring, kScheduleColumnCount> headings_;
    std::vector<std::array<std::wstring, kScheduleColumnCount>> rows_;
    std::vector<int> marked_rows_;
    int dpi_ = 96;
};

}  // namespace koyomi::win32

#include "app/win32/schedule_list_view.h"

#include <algorithm>

#include "app/win32/column_widths.h"
#include "app/win32/command_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/wide_text.h"

namespace koyomi::win32 {
namespace {

bool IsMarked(const std::vector<int>& rows, int row) {
    return std::binary_search(rows.begin(), rows.end(), row);
}

}  // namespace

COLORREF ScheduleCellColour(int column) {
    if (column < 0 || column >= kScheduleColumnCount) {
        return GetSysColor(COLOR_WINDOW);
    }
    const ColumnBackground& background = ScheduleColumns()[static_cast<size_t>(column)].background;
    if (background.system_info) {
        return GetSysColor(COLOR_INFOBK);
    }
    return RGB(background.red, background.green, background.blue);
}

ScheduleListView::ScheduleListView(HWND parent) {
    window_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 0,
        0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlScheduleList)),
        GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(window_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < kScheduleColumnCount; ++column) {
        headings_[static_cast<size_t>(column)] =
            WideFromSjis(ScheduleColumns()[static_cast<size_t>(column)].heading);
        LVCOLUMNW spec{};
        spec.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        spec.fmt = LVCFMT_CENTER;
        spec.cx = ScheduleColumns()[static_cast<size_t>(column)].width;
        spec.pszText = headings_[static_cast<size_t>(column)].data();
        spec.iSubItem = column;
        ListView_InsertColumn(window_, column, &spec);
    }
    // A list view makes its first column left-aligned when it is inserted; afterwards it keeps
    // what it is told, so the headings are all centred as in the Linux grid.
    LVCOLUMNW first{};
    first.mask = LVCF_FMT;
    first.fmt = LVCFMT_CENTER;
    ListView_SetColumn(window_, 0, &first);
}

void ScheduleListView::ShowGrid(const ScheduleGrid& grid) {
    rows_.clear();
    rows_.reserve(static_cast<size_t>(grid.RowCount()));
    for (int row = 0; row < grid.RowCount(); ++row) {
        auto& cells = rows_.emplace_back();
        for (size_t place = 0; place < kGridColumnOrder.size(); ++place) {
            cells[place] = WideFromSjis(grid.Cell(kGridColumnOrder[place], row));
        }
    }
    ListView_SetItemCountEx(window_, static_cast<int>(rows_.size()), 0);
    InvalidateRect(window_, nullptr, FALSE);
    ShowWindow(window_, grid.Visible() ? SW_SHOWNA : SW_HIDE);
}

void ScheduleListView::SetMarkedRows(std::vector<int> rows) {
    marked_rows_ = std::move(rows);
    InvalidateRect(window_, nullptr, FALSE);
}

void ScheduleListView::MoveToRow(int row) {
    if (row < 0 || row >= RowCount()) {
        return;
    }
    ListView_SetItemState(window_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemState(window_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    RECT item{};
    ListView_GetItemRect(window_, row, &item, LVIR_BOUNDS);
    const int top = ListView_GetTopIndex(window_);
    ListView_Scroll(window_, 0, (row - top) * (item.bottom - item.top));
    SetFocus(window_);
}

void ScheduleListView::Arrange(int dpi, HFONT font, HFONT bold_font) {
    dpi_ = dpi;
    font_ = font;
    bold_font_ = bold_font;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    // A report list view's rows are as high as its small images: a 1-pixel-wide image list
    // gives the grid's row height.
    HIMAGELIST images = ImageList_Create(1, Scale(kScheduleRowHeight, dpi), ILC_COLOR, 1, 0);
    ListView_SetImageList(window_, images, LVSIL_SMALL);
    if (row_height_images_ != nullptr) {
        ImageList_Destroy(row_height_images_);
    }
    row_height_images_ = images;

    std::array<int, kScheduleColumnCount> heading_widths{};
    HDC dc = GetDC(window_);
    const HGDIOBJ old = SelectObject(dc, font);
    for (int column = 0; column < kScheduleColumnCount; ++column) {
        const std::wstring& heading = headings_[static_cast<size_t>(column)];
        SIZE size{};
        GetTextExtentPoint32W(dc, heading.c_str(), static_cast<int>(heading.size()), &size);
        heading_widths[static_cast<size_t>(column)] = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    const auto widths = ScheduleColumnWidths(heading_widths, dpi);
    for (int column = 0; column < kScheduleColumnCount; ++column) {
        ListView_SetColumnWidth(window_, column, widths[static_cast<size_t>(column)]);
    }
}

const std::wstring& ScheduleListView::CellText(int column, int row) const {
    static const std::wstring empty;
    if (row < 0 || row >= RowCount() || column < 0 || column >= kScheduleColumnCount) {
        return empty;
    }
    return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

int ScheduleListView::ColumnWidth(int column) const {
    return ListView_GetColumnWidth(window_, column);
}

bool ScheduleListView::HandleNotify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != window_) {
        return false;
    }
    if (header.code == LVN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
        if ((info.item.mask & LVIF_TEXT) != 0 && info.item.pszText != nullptr &&
            info.item.cchTextMax > 0) {
            const std::wstring& text = CellText(info.item.iSubItem, info.item.iItem);
            lstrcpynW(info.item.pszText, text.c_str(), info.item.cchTextMax);
        }
        result = 0;
        return true;
    }
    if (header.code == static_cast<UINT>(NM_CUSTOMDRAW)) {
        result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(const_cast<NMHDR&>(header)));
        return true;
    }
    return false;
}

RECT ScheduleListView::CellRect(int row, int column) const {
    RECT cell{};
    ListView_GetSubItemRect(window_, row, column, LVIR_BOUNDS, &cell);
    if (column == 0) {
        // The first column's bounds are the whole row's.
        cell.right = cell.left + ListView_GetColumnWidth(window_, 0);
    }
    return cell;
}

LRESULT ScheduleListView::CustomDraw(NMLVCUSTOMDRAW& draw) {
    const DWORD stage = draw.nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT) {
        return CDRF_NOTIFYITEMDRAW;
    }
    const int row = static_cast<int>(draw.nmcd.dwItemSpec);
    if (stage == CDDS_ITEMPREPAINT) {
        return CDRF_NOTIFYSUBITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    }
    if (stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        const int column = draw.iSubItem;
        HDC dc = draw.nmcd.hdc;
        const RECT cell = CellRect(row, column);
        SetBkColor(dc, ScheduleCellColour(column));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
        SelectObject(dc, IsMarked(marked_rows_, row) ? bold_font_ : font_);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(dc, TRANSPARENT);
        const bool left = column >= 0 && column < kScheduleColumnCount &&
                          ScheduleColumns()[static_cast<size_t>(column)].left_aligned;
        RECT text_area = cell;
        const std::wstring& text = CellText(column, row);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_area,
                  (left ? DT_LEFT : DT_CENTER) | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        return CDRF_SKIPDEFAULT;
    }
    if (stage == CDDS_ITEMPOSTPAINT) {
        HDC dc = draw.nmcd.hdc;
        RECT bounds{};
        ListView_GetItemRect(window_, row, &bounds, LVIR_BOUNDS);
        if (IsMarked(marked_rows_, row)) {
            const int thickness = std::max(1, Scale(2, dpi_));
            HBRUSH frame = CreateSolidBrush(kTodayFrameColour);
            for (int step = 0; step < thickness; ++step) {
                FrameRect(dc, &bounds, frame);
                InflateRect(&bounds, -1, -1);
            }
            DeleteObject(frame);
        }
        const bool focused =
            (ListView_GetItemState(window_, row, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
        if (focused && GetFocus() == window_) {
            DrawFocusRect(dc, &bounds);
        }
        return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

}  // namespace koyomi::win32

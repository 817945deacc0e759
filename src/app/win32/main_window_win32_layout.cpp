// Makes the window's parts, their fonts at the window's DPI, and places them.
#include "app/win32/main_window_win32.h"

#include <commctrl.h>

#include <initializer_list>

#include "app/win32/command_ids.h"

namespace koyomi::win32 {
namespace {

HMENU IdOf(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

HWND Control(HWND parent, const wchar_t* type, const wchar_t* caption, DWORD style, int id) {
    return CreateWindowExW(0, type, caption, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           IdOf(id), GetModuleHandleW(nullptr), nullptr);
}

void Place(HWND control, const Box& box) {
    SetWindowPos(control, nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetFontOf(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace

void MainWindowWin32::CreateChildren() {
    // Made in the Tab order of the Linux window: year, venue, period, "重賞のみ", the list.
    tool_bar_ = std::make_unique<ToolBar>(window_);
    venue_selector_ = Control(window_, WC_COMBOBOXW, L"",
                              WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kControlVenueSelector);
    period_group_ = Control(window_, WC_BUTTONW, L"期間指定", BS_GROUPBOX, kControlPeriodGroup);
    period_buttons_[0] =
        Control(window_, WC_BUTTONW, L"今月以降", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                kControlPeriodFromThisMonth);
    period_buttons_[1] =
        Control(window_, WC_BUTTONW, L"全月分", BS_AUTORADIOBUTTON, kControlPeriodAllMonths);
    graded_check_ = Control(window_, WC_BUTTONW, L"重賞のみ",
                            WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, kControlGradedOnly);
    title_ = std::make_unique<ShadowText>(window_, 0);
    title_->SetStyle(ShadowStyle::Raised);
    title_->SetColours(RGB(0x00, 0x00, 0x80), CLR_NONE);
    ticker_ = std::make_unique<ShadowText>(window_, 0);
    ticker_->SetStyle(ShadowStyle::None);
    ticker_->SetColours(RGB(0x00, 0xFF, 0xFF), RGB(0x00, 0x00, 0x00));
    schedule_list_ = std::make_unique<ScheduleListView>(window_);
    status_line_ = std::make_unique<StatusLine>(window_);
    SetPeriod(0);
    ApplyDpi(WindowDpi(window_));
}

void MainWindowWin32::ApplyDpi(int dpi) {
    dpi_ = dpi;
    fonts_.Make(dpi);
    HFONT controls = fonts_.controls;
    tool_bar_->Arrange(dpi, controls, fonts_.year);
    for (HWND control :
         {venue_selector_, period_group_, period_buttons_[0], period_buttons_[1], graded_check_}) {
        SetFontOf(control, controls);
    }
    title_->SetFont(fonts_.title);
    ticker_->SetFont(fonts_.ticker);
    schedule_list_->Arrange(dpi, fonts_.list, fonts_.list_bold);
    LayOut();
}

HFONT MainWindowWin32::HintFont() const {
    return fonts_.hint;
}

void MainWindowWin32::LayOut() {
    if (!status_line_) {
        return;
    }
    SendMessageW(tool_bar_->window(), TB_AUTOSIZE, 0, 0);
    status_line_->Arrange(dpi_, fonts_.controls);
    RECT client{};
    GetClientRect(window_, &client);
    layout_ = LayOutWindow(client.right, client.bottom, tool_bar_->Height(), status_line_->Height(),
                           dpi_);
    Place(venue_selector_, {layout_.venue_selector.left, layout_.venue_selector.top,
                            layout_.venue_selector.width, Scale(300, dpi_)});
    Place(period_group_, layout_.period_group);
    Place(period_buttons_[0], layout_.period_buttons[0]);
    Place(period_buttons_[1], layout_.period_buttons[1]);
    Place(graded_check_, layout_.graded_check);
    Place(title_->window(), layout_.title);
    Place(ticker_->window(), layout_.ticker);
    Place(schedule_list_->window(), layout_.schedule_list);
    InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace koyomi::win32

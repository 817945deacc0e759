// The program's window on Windows: menus, tool bar with the year selector, the venue selector,
// "期間指定", "重賞のみ", the 3-D title, the scrolling message band, the schedule list and the
// status line. It shows what it is given and hands every user action to `WindowActions`; the
// texts it is given are code page 932 bytes where the core keeps bytes and UTF-8 otherwise,
// as for the Linux window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/dpi.h"
#include "app/win32/schedule_list_view.h"
#include "app/win32/shadow_text.h"
#include "app/win32/status_line.h"
#include "app/win32/tool_bar.h"
#include "app/win32/window_actions.h"
#include "app/win32/window_fonts.h"
#include "app/win32/window_layout.h"
#include "schedule/schedule_grid.h"

namespace koyomi::win32 {

class MainWindowWin32 {
  public:
    // The window is made hidden with this frame (made at least 200 x 150); Show shows it.
    MainWindowWin32(WindowActions& actions, const WindowPlacement& placement);
    ~MainWindowWin32();
    MainWindowWin32(const MainWindowWin32&) = delete;
    MainWindowWin32& operator=(const MainWindowWin32&) = delete;

    HWND window() const { return window_; }
    HACCEL keys() const { return keys_; }
    void Show(int show_command);
    // Asks the window to close: WindowActions::Closing is told, then the window is gone.
    void Close();

    // The year selector's items (UTF-8 file names), none selected.
    void SetYearItems(const std::vector<std::string>& items);
    void SetSelectedYear(int index);  // -1: none
    // The venue selector's items (code page 932) and the one selected.
    void SetVenueItems(const std::vector<std::string>& items, int selected);
    void SetPeriod(int index);
    void SetGradedOnly(bool on);
    void SetDataKind(DataKind kind);
    void SetTitle(std::string_view sjis);
    void SetTickerText(std::string_view sjis);
    void SetTickerOffset(int x);
    int TickerWidth() const;
    int TickerTextWidth() const;
    void ShowGrid(const ScheduleGrid& grid);
    void SetMarkedRows(std::vector<int> rows);
    void MoveToRow(int row);
    void SetStatusText(std::string_view utf8);
    void SetProgress(int done, int total);
    void SetCancelVisible(bool visible);
    void SetBusyCursor(bool busy);
    // What to do first, over the empty list area while the list is hidden; empty for none.
    void SetHint(std::string_view utf8);
    void SetCommandEnabled(UINT command, bool enabled);
    void StartTimer(WindowTimer timer, int interval_ms);
    void StopTimer(WindowTimer timer);
    void FocusYearSelector();
    WindowPlacement Placement() const;

    // The parts, for the program's own tests.
    int dpi() const { return dpi_; }
    const ScheduleListView& schedule_list() const { return *schedule_list_; }
    const StatusLine& status_line() const { return *status_line_; }
    const ShadowText& title() const { return *title_; }
    const ShadowText& ticker() const { return *ticker_; }
    HWND year_selector() const { return tool_bar_->year_selector(); }
    HWND venue_selector() const { return venue_selector_; }
    HWND period_button(int index) const { return period_buttons_[index == 1 ? 1 : 0]; }
    HWND graded_check() const { return graded_check_; }
    const std::wstring& hint() const { return hint_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    void OnCommand(UINT id, UINT code, HWND control);
    LRESULT OnNotify(const NMHDR& header);
    void OnPaint();

    // main_window_win32_layout.cpp
    void CreateChildren();
    void ApplyDpi(int dpi);
    void LayOut();
    HFONT HintFont() const;

    WindowActions& actions_;
    HWND window_ = nullptr;
    HACCEL keys_ = nullptr;
    int dpi_ = kDesignDpi;
    WindowFonts fonts_;
    std::unique_ptr<ToolBar> tool_bar_;
    HWND venue_selector_ = nullptr;
    HWND period_group_ = nullptr;
    HWND period_buttons_[2] = {};
    HWND graded_check_ = nullptr;
    std::unique_ptr<ShadowText> title_;
    std::unique_ptr<ShadowText> ticker_;
    std::unique_ptr<ScheduleListView> schedule_list_;
    std::unique_ptr<StatusLine> status_line_;
    WindowLayout layout_;
    std::wstring hint_;
    HWND focus_before_ = nullptr;  // the control that had the focus when the window lost it
    bool busy_ = false;
    bool painted_ = false;
    bool closing_ = false;
};

// The window's caption, "JRA 年間開催スケジュール".
const wchar_t* ProgramTitle();

}  // namespace koyomi::win32

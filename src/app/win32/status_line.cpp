#include "app/win32/status_line.h"

#include <commctrl.h>

#include <algorithm>

#include "app/win32/command_forwarding.h"
#include "app/win32/command_ids.h"
#include "app/win32/dpi.h"

namespace koyomi::win32 {
namespace {

HMENU IdOf(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

}  // namespace

StatusLine::StatusLine(HWND parent) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0,
                              0, 0, 0, parent, IdOf(kControlStatusLine), instance, nullptr);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | PBS_SMOOTH, 0, 0, 0, 0, window_,
                                IdOf(kControlProgress), instance, nullptr);
    // Takes no focus, as a tool button: Esc is the keyboard's way.
    cancel_ = CreateWindowExW(0, WC_BUTTONW, L"中止", WS_CHILD | BS_PUSHBUTTON | BS_FLAT, 0, 0, 0,
                              0, window_, IdOf(kCommandCancelFetch), instance, nullptr);
    ForwardCommands(window_, parent);
}

void StatusLine::SetText(std::wstring text) {
    text_ = std::move(text);
    if (!hint_shown_) {
        ShowText(text_);
    }
}

void StatusLine::ShowHint(const wchar_t* hint) {
    hint_shown_ = true;
    ShowText(hint != nullptr ? hint : L"");
}

void StatusLine::EndHint() {
    if (hint_shown_) {
        hint_shown_ = false;
        ShowText(text_);
    }
}

void StatusLine::ShowText(const std::wstring& text) {
    SendMessageW(window_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusLine::SetProgress(int done, int total) {
    if (total <= 0) {
        ShowWindow(progress_, SW_HIDE);
        return;
    }
    SendMessageW(progress_, PBM_SETRANGE32, 0, total);
    SendMessageW(progress_, PBM_SETPOS, std::clamp(done, 0, total), 0);
    ShowWindow(progress_, SW_SHOWNA);
}

void StatusLine::SetCancelVisible(bool visible) {
    ShowWindow(cancel_, visible ? SW_SHOWNA : SW_HIDE);
}

void StatusLine::Arrange(int dpi, HFONT font) {
    dpi_ = dpi;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(cancel_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(window_, WM_SIZE, 0, 0);
    RECT area{};
    GetClientRect(window_, &area);
    // The text, then the bar and the button at the right, clear of the size grip.
    const int grip = GetSystemMetrics(SM_CXVSCROLL);
    const int button_width = Scale(48, dpi);
    const int bar_width = Scale(180, dpi);
    const int right = std::max(0, static_cast<int>(area.right) - grip);
    const int parts[] = {std::max(0, right - button_width - bar_width - Scale(8, dpi)),
                         std::max(0, right - button_width - Scale(4, dpi)), -1};
    SendMessageW(window_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    const int height = area.bottom - area.top;
    const int inset = Scale(3, dpi);
    MoveWindow(progress_, parts[0] + inset, inset, bar_width, std::max(0, height - 2 * inset),
               TRUE);
    MoveWindow(cancel_, parts[1] + Scale(2, dpi), Scale(1, dpi), button_width,
               std::max(0, height - Scale(2, dpi)), TRUE);
}

int StatusLine::Height() const {
    RECT area{};
    GetWindowRect(window_, &area);
    return area.bottom - area.top;
}

}  // namespace koyomi::win32

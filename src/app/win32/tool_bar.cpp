#include "app/win32/tool_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "app/win32/command_forwarding.h"
#include "app/win32/command_ids.h"
#include "app/win32/dpi.h"
#include "app/win32/menus.h"

namespace koyomi::win32 {
namespace {

constexpr int kYearSelectorWidth = 170;
constexpr int kYearSelectorSlot = 1;  // the button index the selector sits over

TBBUTTON Button(int command, const wchar_t* caption) {
    TBBUTTON button{};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    button.iString = reinterpret_cast<INT_PTR>(caption);
    return button;
}

TBBUTTON Separator(int width, int command) {
    TBBUTTON separator{};
    separator.iBitmap = width;
    separator.idCommand = command;
    separator.fsStyle = BTNS_SEP;
    return separator;
}

}  // namespace

const wchar_t* ToolButtonHint(UINT command) {
    switch (command) {
        case kCommandHelpContents:
            return L"ヘルプの目次を表示します";
        case kCommandAbout:
            return L"ﾊﾞｰｼﾞｮﾝ情報";
        default:
            return CommandHint(command);
    }
}

ToolBar::ToolBar(HWND parent) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, TOOLBARCLASSNAMEW, L"",
                              WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST |
                                  TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER,
                              0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlToolBar)),
                              instance, nullptr);
    SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(window_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageW(window_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    year_selector_ = CreateWindowExW(
        0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
        0, kYearSelectorWidth, 400, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlYearSelector)), instance, nullptr);
    SendMessageW(year_selector_, CB_SETMINVISIBLE, 36, 0);
    ForwardCommands(window_, parent);
}

void ToolBar::Arrange(int dpi, HFONT button_font, HFONT year_font) {
    // The buttons are made again: a toolbar measures its buttons' texts only when they are added.
    while (SendMessageW(window_, TB_BUTTONCOUNT, 0, 0) > 0) {
        SendMessageW(window_, TB_DELETEBUTTON, 0, 0);
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(button_font), FALSE);
    SendMessageW(year_selector_, WM_SETFONT, reinterpret_cast<WPARAM>(year_font), FALSE);
    const int selector_width = Scale(kYearSelectorWidth, dpi);
    const TBBUTTON buttons[] = {
        Button(kCommandFetch, L"JVデータ取得"),
        Separator(selector_width + Scale(4, dpi), kControlYearSelector),
        Button(kCommandToday, L"今日へ移動"),
        Separator(Scale(8, dpi), 0),
        Button(kCommandExit, L"終了"),
        Button(kCommandHelpContents, L"ヘルプ"),
        Button(kCommandAbout, L"ﾊﾞｰｼﾞｮﾝ情報"),
    };
    SendMessageW(window_, TB_ADDBUTTONSW, sizeof buttons / sizeof buttons[0],
                 reinterpret_cast<LPARAM>(buttons));
    SendMessageW(window_, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, Scale(26, dpi)));
    SendMessageW(window_, TB_AUTOSIZE, 0, 0);
    RECT slot{};
    SendMessageW(window_, TB_GETITEMRECT, kYearSelectorSlot, reinterpret_cast<LPARAM>(&slot));
    RECT field{};
    GetWindowRect(year_selector_, &field);
    const int field_height = field.bottom - field.top;
    const int top =
        slot.top + std::max(0, static_cast<int>(slot.bottom - slot.top) - field_height) / 2;
    SetWindowPos(year_selector_, nullptr, slot.left + Scale(2, dpi), top, selector_width,
                 Scale(400, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

int ToolBar::Height() const {
    RECT area{};
    GetWindowRect(window_, &area);
    return area.bottom - area.top;
}

}  // namespace koyomi::win32

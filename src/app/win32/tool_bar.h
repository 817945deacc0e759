// The tool bar: "JVデータ取得", the year selector, "今日へ移動", then "終了", "ヘルプ" and
// "ﾊﾞｰｼﾞｮﾝ情報", text-only flat buttons that take no keyboard focus.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

class ToolBar {
  public:
    explicit ToolBar(HWND parent);
    ToolBar(const ToolBar&) = delete;
    ToolBar& operator=(const ToolBar&) = delete;

    HWND window() const { return window_; }
    HWND year_selector() const { return year_selector_; }

    // After the parent's size or DPI changed: the fonts, button sizes and selector place.
    void Arrange(int dpi, HFONT button_font, HFONT year_font);
    int Height() const;

  private:
    HWND window_ = nullptr;
    HWND year_selector_ = nullptr;
};

// A tool button's hint (tool tip and status line); null for none.
const wchar_t* ToolButtonHint(UINT command);

}  // namespace koyomi::win32

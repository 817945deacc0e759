// The window's fonts at its DPI, the Linux window's sizes (pixels at 96 DPI), made again when
// the DPI changes.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

class WindowFonts {
  public:
    WindowFonts() = default;
    ~WindowFonts();
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;

    void Make(int dpi);

    HFONT controls = nullptr;  // buttons, selectors, status line
    HFONT year = nullptr;      // the year selector, bold
    HFONT title = nullptr;
    HFONT ticker = nullptr;
    HFONT list = nullptr;
    HFONT list_bold = nullptr;  // today's rows
    HFONT hint = nullptr;

  private:
    void Free();
};

}  // namespace koyomi::win32

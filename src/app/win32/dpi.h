// Pixel sizes at the window's DPI. Sizes of the Linux window are given at 96 DPI and grow with
// the monitor's scaling.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

inline constexpr int kDesignDpi = 96;

// `pixels` at 96 DPI scaled to `dpi`, rounded to the nearest pixel.
int Scale(int pixels, int dpi);

// The DPI of the monitor the window is on; the system DPI where Windows cannot say (before
// Windows 10 1607).
int WindowDpi(HWND window);

// A font of the proportional Japanese Gothic at `pixels` height (96 DPI) scaled to `dpi`.
HFONT CreateGothicFont(int pixels, int dpi, bool bold, bool underline = false);

}  // namespace koyomi::win32

// The about box of the Win32 window: the program's picture with its version and credit line,
// a button that opens the home page, OK, and below them the folders in use. It has the Linux
// box's layout and sizes at 96 DPI and grows with the monitor's scaling.
#pragma once

#include <windows.h>

#include "app/viewer_view.h"
#include "support/open_url.h"

namespace koyomi::win32 {

// The box's parts, for the tests; OK is IDOK.
inline constexpr int kAboutPicture = 101;
inline constexpr int kAboutVersion = 102;
inline constexpr int kAboutCredit = 103;
inline constexpr int kAboutHomePage = 104;
inline constexpr int kAboutFolders = 105;

// Shows the box modally over `owner` until OK, Enter or Esc closes it. The home page button
// and a click on the picture open `text.home_page_url` through `launcher`; when that fails, a
// box with the owner's title says so.
void ShowAboutDialog(HWND owner, const AboutText& text, DesktopLauncher& launcher);

}  // namespace koyomi::win32

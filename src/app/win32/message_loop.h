// The program's message loop: the window's keys first, then Tab and arrow keys between its
// controls as in a dialog, then the usual dispatch.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

// True when the message was the window's: a key of `keys` or a move between its controls.
bool TranslateWindowMessage(HWND window, HACCEL keys, MSG& message);

// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop(HWND window, HACCEL keys);

}  // namespace koyomi::win32

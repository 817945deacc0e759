// Controls that hold other controls (the tool bar holds the year selector, the status line the
// 中止 button) receive their children's notifications; the window must get them instead.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

// From now on the WM_COMMAND and the colour questions (WM_CTLCOLORLISTBOX, WM_CTLCOLOREDIT) that
// reach `container` from its child controls go to `target`.
void ForwardCommands(HWND container, HWND target);

}  // namespace koyomi::win32

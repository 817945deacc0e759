// The window's keys beyond the menus' own: Ctrl+T "今日へ移動" and Esc "中止".
#pragma once

#include <windows.h>

namespace koyomi::win32 {

// The table; the caller destroys it with DestroyAcceleratorTable.
HACCEL CreateWindowAccelerators();

}  // namespace koyomi::win32

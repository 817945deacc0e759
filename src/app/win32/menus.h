// The window's menu bar, with the Linux window's captions and accelerators, and the hint each
// command shows in the status line.
#pragma once

#include <windows.h>

namespace koyomi::win32 {

// "ﾌｧｲﾙ(&F)", "ｵﾌﾟｼｮﾝ(&O)" with "取得データの種類", "ﾍﾙﾌﾟ(&H)"; "セットアップデータ" checked.
HMENU CreateMainMenu();

// The status-line hint of a menu item, tool button or key command; null for none.
const wchar_t* CommandHint(UINT command);

// Checks one of the two data-kind radio items.
void CheckDataKindItem(HMENU menu, UINT command);

}  // namespace koyomi::win32

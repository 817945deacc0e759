// The Windows clipboard for the list's text: the Shift-JIS bytes as CF_TEXT, marked Japanese
// with CF_LOCALE, and the same text as CF_UNICODETEXT, so that it pastes correctly whatever the
// ANSI code page of the machine.
#pragma once

#include <windows.h>

#include <string_view>

#include "support/result.h"

namespace koyomi {

// Replaces the clipboard's content with `sjis_text` (code page 932, lines ending in CR LF).
// `owner` is the window that copies. Fails when another program keeps the clipboard open (it
// is then left as it was) or memory runs out.
Status PutTextOnClipboard(HWND owner, std::string_view sjis_text);

}  // namespace koyomi

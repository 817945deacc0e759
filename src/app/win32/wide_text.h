// The window's texts as Windows takes them: UTF-16 from the core's code page 932 bytes
// (cells, title, message band) and from its UTF-8 (status texts, hints, year items).
#pragma once

#include <string>
#include <string_view>

namespace koyomi::win32 {

// Bytes that are not valid code page 932 show as U+FFFD.
std::wstring WideFromSjis(std::string_view sjis);
std::wstring WideFromUtf8(std::string_view utf8);

}  // namespace koyomi::win32

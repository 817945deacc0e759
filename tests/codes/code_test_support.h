// Helpers shared by the code table tests.
#pragma once

#include <string>
#include <string_view>

#include "support/sjis_text.h"

namespace koyomi::testing {

// Expected texts are written here as UTF-8, like the tables.
inline std::string Sjis(std::string_view utf8) {
    return Utf8ToSjis(utf8);
}

inline std::string FullWidthSpaces(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += kFullWidthSpace;
    }
    return text;
}

inline std::string Spaces(int count) {
    return std::string(static_cast<std::size_t>(count), ' ');
}

// True when the text is well-formed code page 932 and no character was lost on the way in
// (the tables hold no "?", so one means a character the code page cannot hold).
inline bool IsCleanSjis(const std::string& text) {
    return IsValidSjis(text) && text.find('?') == std::string::npos;
}

// Codes that look like real codes but are not in any table, and bytes that are not codes.
inline const std::string kOddCodes[] = {
    "",
    std::string("\0", 1),
    std::string("0\0", 2),
    std::string("05\0", 3),
    "\x81",
    "\xFF\xFE",
    "\x93\x8C",
    "05 ",
    " 05",
    "005",
    "5",
    "0505",
    std::string(1000, '1'),
};

}  // namespace koyomi::testing

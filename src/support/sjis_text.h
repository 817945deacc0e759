// Shift-JIS (code page 932) text handling. Inside the core every text is a byte string in
// code page 932; conversion to Unicode happens only at the edges, through this module.
#pragma once

#include <string>
#include <string_view>

namespace koyomi {

// UTF-8 -> code page 932. A character the code page cannot hold becomes "?".
std::string Utf8ToSjis(std::string_view utf8);

// UTF-16 -> code page 932, as JV-Link's records are stored. Unmappable characters and lone
// surrogates become "?".
std::string Utf16ToSjis(std::u16string_view utf16);

// Code page 932 -> UTF-8 for the screen; bytes that are not valid Shift-JIS become U+FFFD.
std::string SjisToUtf8(std::string_view sjis);

// Code page 932 -> UTF-16; bytes that are not valid Shift-JIS become U+FFFD.
std::u16string SjisToUtf16(std::string_view sjis);

// UTF-8 <-> UTF-16 without loss (invalid input becomes U+FFFD).
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// True for a byte that starts a two-byte character of code page 932.
constexpr bool IsSjisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that may follow a lead byte.
constexpr bool IsSjisTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// True when every character of the text is well formed and mapped in code page 932.
bool IsValidSjis(std::string_view sjis);

// The field at 1-based byte position `position` of `length` bytes; a field that lies partly
// or wholly beyond the end reads as the bytes that are present, possibly none.
std::string_view Field(std::string_view text, int position, int length);

// Width of a text in bytes, which in code page 932 equals its display columns.
inline int ByteWidth(std::string_view text) {
    return static_cast<int>(text.size());
}

// Removes blanks and control characters (every byte up to and including the space) at both
// ends. Trail bytes of double-byte characters are never in that range, so this is safe.
std::string_view TrimBlanks(std::string_view text);

// The ideographic space U+3000 in code page 932.
inline constexpr std::string_view kFullWidthSpace = "\x81\x40";

}  // namespace koyomi

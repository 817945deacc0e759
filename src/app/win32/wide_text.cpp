#include "app/win32/wide_text.h"

#include "support/sjis_text.h"

namespace koyomi::win32 {
namespace {

// wchar_t is UTF-16 on Windows, so the core's UTF-16 moves over unit by unit.
std::wstring ToWide(const std::u16string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::wstring WideFromSjis(std::string_view sjis) {
    return ToWide(SjisToUtf16(sjis));
}

std::wstring WideFromUtf8(std::string_view utf8) {
    return ToWide(Utf8ToUtf16(utf8));
}

}  // namespace koyomi::win32

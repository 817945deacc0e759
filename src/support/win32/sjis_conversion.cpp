// The conversions through Windows' own code page 932 and UTF-8 tables. They give the same
// bytes as the iconv conversions elsewhere: a strict conversion first, character by character
// only when that fails.
#include <windows.h>

#include <string>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// Skips one UTF-8 sequence: the lead byte and any continuation bytes that follow it.
size_t SkipUtf8Char(const unsigned char* p, size_t left) {
    size_t n = 1;
    while (n < left && n < 4 && (p[n] & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

constexpr UINT kSjis = 932;
constexpr char16_t kReplacement = 0xFFFD;

bool DecodeStrictly(UINT code_page, std::string_view bytes, std::u16string& out) {
    out.clear();
    if (bytes.empty()) {
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int units =
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) {
        return false;
    }
    out.resize(static_cast<size_t>(units));
    MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size,
                        reinterpret_cast<wchar_t*>(out.data()), units);
    return true;
}

size_t CharacterWidth(UINT code_page, const unsigned char* p, size_t left) {
    size_t width = 1;
    if (code_page == kSjis) {
        width = IsSjisLeadByte(p[0]) ? 2 : 1;
    } else if (p[0] >= 0xF0) {
        width = 4;
    } else if (p[0] >= 0xE0) {
        width = 3;
    } else if (p[0] >= 0xC0) {
        width = 2;
    }
    return width < left ? width : left;
}

std::u16string Decode(UINT code_page, std::string_view bytes) {
    std::u16string out;
    if (DecodeStrictly(code_page, bytes, out)) {
        return out;
    }
    std::u16string piece;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t at = 0;
    while (at < bytes.size()) {
        const size_t width = CharacterWidth(code_page, data + at, bytes.size() - at);
        if (DecodeStrictly(code_page, bytes.substr(at, width), piece)) {
            out += piece;
            at += width;
        } else {
            out += kReplacement;
            at += code_page == kSjis ? 1 : SkipUtf8Char(data + at, bytes.size() - at);
        }
    }
    return out;
}

// Code page 932 holds nothing outside the Basic Multilingual Plane, and Windows would write a
// "?" for each half of a surrogate pair; one stand-in a character gives the one "?" iconv does.
std::u16string OneUnitPerCharacter(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        out += pair ? kReplacement : text[i];
        i += pair ? 1 : 0;
    }
    return out;
}

std::string Encode(UINT code_page, std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    std::u16string single_units;
    if (code_page == kSjis) {
        single_units = OneUnitPerCharacter(text);
        text = single_units;
    }
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    // Code page 932 writes "?" for what it cannot hold; UTF-8 writes U+FFFD for a lone surrogate.
    const DWORD flags = code_page == kSjis ? WC_NO_BEST_FIT_CHARS : 0;
    const char* fallback = code_page == kSjis ? "?" : nullptr;
    const int bytes =
        WideCharToMultiByte(code_page, flags, units, size, nullptr, 0, fallback, nullptr);
    std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(code_page, flags, units, size, out.data(), bytes, fallback, nullptr);
    }
    return out;
}

}  // namespace

std::string Utf8ToSjis(std::string_view utf8) {
    return Encode(kSjis, Decode(CP_UTF8, utf8));
}

std::string Utf16ToSjis(std::u16string_view utf16) {
    return Encode(kSjis, utf16);
}

std::string SjisToUtf8(std::string_view sjis) {
    return Encode(CP_UTF8, Decode(kSjis, sjis));
}

std::u16string SjisToUtf16(std::string_view sjis) {
    return Decode(kSjis, sjis);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    return Decode(CP_UTF8, utf8);
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    return Encode(CP_UTF8, utf16);
}

bool IsValidSjis(std::string_view sjis) {
    std::u16string decoded;
    return DecodeStrictly(kSjis, sjis, decoded);
}

}  // namespace koyomi

#include "acquisition/win32/control_bitness.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace koyomi {

namespace {

constexpr bool kSixtyFourBit = sizeof(void*) == 8;

std::optional<std::wstring> ReadDefaultValue(const std::wstring& key, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    std::optional<std::wstring> value;
    if (RegQueryValueExW(opened, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD read = size;
        if (RegQueryValueExW(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                             &read) == ERROR_SUCCESS) {
            // A stored string need not end in its terminator.
            value = std::wstring(text.data(), wcsnlen(text.data(), text.size()));
        }
    }
    RegCloseKey(opened);
    return value;
}

}  // namespace

std::optional<std::wstring> ReadOtherRegistryView(const std::wstring& key) {
    const REGSAM view = kSixtyFourBit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
    if (std::optional<std::wstring> value = ReadDefaultValue(key, view)) {
        return value;
    }
    // Only the classes below CLSID differ between the views; a ProgID is one key that both
    // share. Windows opens the shared key for either flag, Wine looks for a redirected copy and
    // finds none, so the shared key is read for a ProgID the other view seems to lack.
    if (key.rfind(L"CLSID\\", 0) != 0) {
        return ReadDefaultValue(key, 0);
    }
    return std::nullopt;
}

std::optional<std::string> OtherBitnessAdvice(const OtherViewReader& read) {
    const std::optional<std::wstring> clsid = read(L"JVDTLab.JVLink\\CLSID");
    if (!clsid || clsid->empty()) {
        return std::nullopt;
    }
    const std::optional<std::wstring> server = read(L"CLSID\\" + *clsid + L"\\InprocServer32");
    if (!server || server->empty()) {
        return std::nullopt;
    }
    if (kSixtyFourBit) {
        return "この JV-Link は 32 ビット版です。32 ビット版の koyomivw をお使いください。";
    }
    return "この JV-Link は 64 ビット版です。64 ビット版の koyomivw をお使いください。";
}

}  // namespace koyomi

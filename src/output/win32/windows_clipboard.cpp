#include "output/win32/windows_clipboard.h"

#include <cstring>
#include <string>

#include "support/sjis_text.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

constexpr LCID kJapanese =
    MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);

// Movable memory holding `bytes`; the clipboard owns it once SetClipboardData succeeds.
HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) {
        return nullptr;
    }
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

bool Put(UINT format, const void* bytes, size_t size) {
    HGLOBAL memory = GlobalCopy(bytes, size);
    if (memory == nullptr) {
        return false;
    }
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

// Another program may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

}  // namespace

Status PutTextOnClipboard(HWND owner, std::string_view sjis_text) {
    // Both texts are made before the clipboard is opened, so that it is held only briefly.
    const std::string bytes(sjis_text);
    const std::u16string unicode = SjisToUtf16(sjis_text);
    if (!OpenClipboardSoon(owner)) {
        return Fail("クリップボードを開けませんでした: " + WindowsErrorReason(GetLastError()));
    }
    bool put = EmptyClipboard() != 0;
    put = put && Put(CF_TEXT, bytes.c_str(), bytes.size() + 1);
    put = put && Put(CF_LOCALE, &kJapanese, sizeof kJapanese);
    put = put && Put(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * sizeof(char16_t));
    const DWORD error = put ? ERROR_SUCCESS : GetLastError();
    CloseClipboard();
    if (!put) {
        return Fail("クリップボードにコピーできませんでした: " + WindowsErrorReason(error));
    }
    return {};
}

}  // namespace koyomi

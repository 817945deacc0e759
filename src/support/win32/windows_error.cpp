#include "support/win32/windows_error.h"

#include <string>

#include "support/sjis_text.h"

namespace koyomi {

std::string WindowsErrorReason(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD size = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string message;
    if (size > 0 && text != nullptr) {
        message.assign(reinterpret_cast<const char16_t*>(text), size);
    }
    LocalFree(text);
    while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' ||
                                message.back() == u' ' || message.back() == u'.')) {
        message.pop_back();
    }
    if (message.empty()) {
        return "error " + std::to_string(code);
    }
    return Utf16ToUtf8(message);
}

}  // namespace koyomi

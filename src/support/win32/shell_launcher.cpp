#include "support/win32/shell_launcher.h"

#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

#include "support/sjis_text.h"
#include "support/win32/windows_error.h"

namespace koyomi {
namespace {

std::wstring WideOf(std::string_view utf8) {
    const std::u16string text = Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::wstring AssociationCommandLine(std::wstring_view command, std::wstring_view target) {
    std::wstring line;
    bool placed = false;
    for (size_t i = 0; i < command.size(); ++i) {
        if (command[i] != L'%' || i + 1 >= command.size()) {
            line += command[i];
            continue;
        }
        const wchar_t next = command[i + 1];
        if (next == L'%') {
            line += L'%';
            ++i;
        } else if (next == L'1' || next == L'L' || next == L'l') {
            const bool quoted = !line.empty() && line.back() == L'"';
            line += quoted ? std::wstring(target) : L"\"" + std::wstring(target) + L"\"";
            placed = true;
            ++i;
        } else {
            line += command[i];
        }
    }
    if (!placed) {
        line += L" \"" + std::wstring(target) + L"\"";
    }
    return line;
}

Status ShellLauncher::OpenWithUriHandler(const std::string& uri) {
    const std::wstring target = WideOf(uri);
    SetLastError(ERROR_SUCCESS);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // Values up to 32 are failures; the reason is the thread's last error when set.
    if (result > 32) {
        return {};
    }
    const DWORD error = GetLastError();
    return Fail("ShellExecuteW: " + (error != ERROR_SUCCESS ? WindowsErrorReason(error)
                                                            : "error " + std::to_string(result)));
}

Status ShellLauncher::OpenWithHtmlHandler(const std::string& uri) {
    DWORD size = 0;
    if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".htm", L"open", nullptr, &size) !=
            S_FALSE ||
        size == 0) {
        return Fail(".htm: 開くプログラムが関連付けられていません");
    }
    std::vector<wchar_t> command(size);
    if (AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L".htm", L"open", command.data(),
                          &size) != S_OK) {
        return Fail(".htm: 開くプログラムが関連付けられていません");
    }
    std::wstring line = AssociationCommandLine(command.data(), WideOf(uri));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return Fail(".htm: " + WindowsErrorReason(GetLastError()));
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

}  // namespace koyomi

// Whole files through the wide Win32 calls, so that names outside the code page work.
#include <windows.h>

#include <string>
#include <system_error>

#include "support/win32/windows_error.h"
#include "testing/files.h"

namespace koyomi::testing {

namespace fs = std::filesystem;

namespace {

std::system_error LastError(const std::string& what, const fs::path& file) {
    return std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                             what + " " + file.string());
}

}  // namespace

void WriteBytes(const fs::path& file, std::string_view bytes) {
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path());
    }
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw LastError("CreateFileW", file);
    }
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD size = bytes.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(bytes.size());
        if (!WriteFile(handle, bytes.data(), size, &written, nullptr) || written == 0) {
            const std::system_error error = LastError("WriteFile", file);
            CloseHandle(handle);
            throw error;
        }
        bytes.remove_prefix(written);
    }
    CloseHandle(handle);
}

Result<std::string> TryReadBytes(const fs::path& file) {
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return Fail(WindowsErrorReason(GetLastError()), file);
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(handle, buffer, sizeof buffer, &count, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(handle);
            return Fail(WindowsErrorReason(error), file);
        }
        if (count == 0) {
            break;
        }
        bytes.append(buffer, count);
    }
    CloseHandle(handle);
    return bytes;
}

}  // namespace koyomi::testing

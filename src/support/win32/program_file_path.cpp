// The running program's file as Windows reports it, in UTF-16 whatever the code page; a path
// longer than MAX_PATH gets a larger buffer.
#include <windows.h>

#include <string>

#include "support/program_file.h"

namespace koyomi {

std::filesystem::path ProgramFilePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    while (buffer.size() <= 32768) {
        const DWORD size =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (size == 0) {
            return {};
        }
        if (size < buffer.size()) {
            buffer.resize(size);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

}  // namespace koyomi

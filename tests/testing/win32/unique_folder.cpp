// Temporary folders below %TEMP%, named in UTF-16 so that names outside ASCII stay whole.
#include "testing/unique_folder.h"

#include <windows.h>

#include <random>
#include <string>
#include <system_error>

#include "support/sjis_text.h"

namespace koyomi::testing {

namespace fs = std::filesystem;

fs::path BaseOf(TempFolder::Place) {
    return fs::temp_directory_path();
}

fs::path MakeUniqueFolder(const fs::path& base, std::string_view name) {
    std::random_device seed;
    std::mt19937 random(seed() ^ GetCurrentProcessId());
    const std::u16string wide_name = Utf8ToUtf16(name);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = base / (std::wstring(wide_name.begin(), wide_name.end()) + L"-" +
                                        std::to_wstring(random() % 1000000000u));
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return folder;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateDirectoryW below " + base.string());
}

}  // namespace koyomi::testing

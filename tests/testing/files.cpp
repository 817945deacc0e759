#include "testing/files.h"

#include <algorithm>

namespace koyomi::testing {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& file) {
    Result<std::string> bytes = TryReadBytes(file);
    return bytes ? std::move(bytes).Value() : std::string();
}

std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace koyomi::testing

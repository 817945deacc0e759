#include "testing/unique_folder.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace koyomi::testing {

namespace fs = std::filesystem;

fs::path BaseOf(TempFolder::Place place) {
    if (place == TempFolder::Place::kTemporary) {
        return fs::temp_directory_path();
    }
    std::error_code error;
    return fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::path("/tmp");
}

fs::path MakeUniqueFolder(const fs::path& base, std::string_view name) {
    std::string pattern = (base / (std::string(name) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    return pattern;
}

}  // namespace koyomi::testing

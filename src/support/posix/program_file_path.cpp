// The running program's file as Linux reports it.
#include <string>
#include <string_view>
#include <system_error>

#include "support/program_file.h"

namespace koyomi {

std::filesystem::path ProgramFilePath() {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    // A program file replaced or removed while running is reported with this mark; the
    // settings still belong to the name it was started under.
    constexpr std::string_view kDeleted = " (deleted)";
    const std::string text = path.native();
    if (text.size() > kDeleted.size() && text.ends_with(kDeleted) &&
        !std::filesystem::exists(path, error)) {
        path = text.substr(0, text.size() - kDeleted.size());
    }
    return path;
}

}  // namespace koyomi

#include "control/service/text_file.h"

#include <system_error>

#include "support/whole_file.h"

namespace koyomi {
namespace {

constexpr std::size_t kSmallFileLimit = std::size_t{1} << 20;

}  // namespace

Result<std::string> ReadRegularFile(const std::filesystem::path& file, std::size_t limit) {
    return ReadWholeRegularFile(file, limit);
}

Result<std::string> ReadSmallTextFile(const std::filesystem::path& file) {
    return ReadRegularFile(file, kSmallFileLimit);
}

Status WriteFileAtomically(const std::filesystem::path& file, std::string_view content) {
    if (file.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            return Fail(error.message(), file.parent_path());
        }
    }
    return ReplaceFileAtomically(file, content);
}

}  // namespace koyomi

#include "control/service/text_file.h"

#include <system_error>

#include "support/whole_file.h"

namespace koyomi {
namespace {

constexpr std::size_t kSmallFileLimit = std::size_t{1} << 20;

std::string Reason(const std::filesystem::path& file, int error) {
    return file.string() + ": " + SystemReason(error);
}

}  // namespace

bool ReadRegularFile(const std::filesystem::path& file, std::size_t limit, std::string& content,
                     std::string& reason) {
    const int error = ReadWholeRegularFile(file, content, nullptr, limit);
    if (error != 0) {
        reason = Reason(file, error);
        return false;
    }
    return true;
}

bool ReadSmallTextFile(const std::filesystem::path& file, std::string& content) {
    std::string reason;
    return ReadRegularFile(file, kSmallFileLimit, content, reason);
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content,
                         std::string& reason) {
    if (file.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            reason = file.parent_path().string() + ": " + error.message();
            return false;
        }
    }
    const int error = ReplaceFileAtomically(file, content);
    if (error != 0) {
        reason = Reason(file, error);
        return false;
    }
    return true;
}

}  // namespace koyomi

#include "support/temporary_name.h"

#include <chrono>
#include <functional>
#include <system_error>
#include <thread>

namespace koyomi {
namespace fs = std::filesystem;
namespace {

constexpr int kTemporaryDigits = 12;
constexpr char kHex[] = "0123456789abcdef";

bool IsLowerHexDigit(fs::path::value_type c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

TemporaryNames::TemporaryNames(std::uint64_t process_id)
    : seed_(
          static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
          (process_id << 40) ^ std::hash<std::thread::id>{}(std::this_thread::get_id())) {}

fs::path TemporaryNames::Next(const fs::path& target) {
    std::uint64_t value = (seed_ += 0x9E3779B97F4A7C15ull) * 0xBF58476D1CE4E5B9ull;
    fs::path::string_type suffix{'.', '~'};
    for (int i = 0; i < kTemporaryDigits; ++i) {
        suffix += static_cast<fs::path::value_type>(kHex[value & 0xF]);
        value >>= 4;
    }
    fs::path name = target;
    name += suffix;
    return name;
}

bool IsTemporaryName(const fs::path& file) {
    const fs::path::string_type name = file.filename().native();
    const std::size_t tail = kTemporaryDigits + 2;
    if (name.size() <= tail) {
        return false;
    }
    const std::size_t mark = name.size() - tail;
    if (name[mark] != '.' || name[mark + 1] != '~') {
        return false;
    }
    for (std::size_t i = mark + 2; i < name.size(); ++i) {
        if (!IsLowerHexDigit(name[i])) {
            return false;
        }
    }
    return true;
}

fs::path FollowLinks(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error)) {
        return target;
    }
    const fs::path followed = fs::weakly_canonical(target, error);
    return error ? target : followed;
}

}  // namespace koyomi

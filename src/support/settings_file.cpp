#include "support/settings_file.h"

#include <limits>
#include <optional>
#include <utility>

#include "support/program_file.h"
#include "support/sjis_text.h"

namespace koyomi {
namespace {

namespace fs = std::filesystem;

// The half-width corner brackets ｢ and ｣ of code page 932.
constexpr char kOpenCorner = '\xA2';
constexpr char kCloseCorner = '\xA3';
constexpr char kDoubleQuote = '"';

std::optional<int> ParseInteger(std::string_view text) {
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    // Accumulated as a negative number, whose range is one larger.
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 - (c - '0');
        if (value < std::numeric_limits<int>::min()) {
            return std::nullopt;
        }
    }
    if (!negative) {
        value = -value;
        if (value > std::numeric_limits<int>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<int>(value);
}

}  // namespace

fs::path SettingsFileName(const fs::path& program_file) {
    return program_file.filename().replace_extension(".ini");
}

SettingsFile::SettingsFile() : SettingsFile(ProgramFilePath()) {}

SettingsFile::SettingsFile(fs::path program_file) : program_file_(std::move(program_file)) {}

void SettingsFile::SetFileName(fs::path value) {
    file_name_ = std::move(value);
    profile_ = ProfileFile(file_name_.empty() || file_name_.has_parent_path()
                               ? file_name_
                               : ProgramFolderOf(program_file_) / file_name_);
}

void SettingsFile::Loaded() {
    if (file_name_.empty() && !program_file_.empty()) {
        SetFileName(SettingsFileName(program_file_));
    }
}

int SettingsFile::ReadInteger(std::string_view section, std::string_view key,
                              int default_value) const {
    const std::optional<std::string> text = profile_.Read(section, key);
    if (!text) {
        return default_value;
    }
    return ParseInteger(*text).value_or(default_value);
}

Status SettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) const {
    return profile_.Write(section, key, std::to_string(value));
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view default_value) const {
    // The default goes in between ｢ and ｣, so a missing key reads back as the default exactly
    // once the brackets come off below.
    std::string wrapped;
    wrapped.reserve(default_value.size() + 2);
    wrapped += kOpenCorner;
    wrapped += default_value;
    wrapped += kCloseCorner;
    const std::string text = profile_.Read(section, key).value_or(wrapped);

    // One pair of marks around the text comes off; a pair alone leaves the empty text. The
    // test is on single bytes, so a trail byte 0xA3 at the end counts as ｣.
    if (text.size() >= 2 && ((text.front() == kDoubleQuote && text.back() == kDoubleQuote) ||
                             (text.front() == kOpenCorner && text.back() == kCloseCorner))) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

Status SettingsFile::WriteString(std::string_view section, std::string_view key,
                                 std::string_view value) const {
    return profile_.Write(section, key, value);
}

}  // namespace koyomi

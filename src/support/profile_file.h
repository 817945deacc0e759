// INI ("profile") files: sections in square brackets, each followed by key=value lines, in
// code page 932. Reads and writes go straight to the file; nothing is cached.
//
// Section and key names compare without regard to ASCII letter case (never folding a trail
// byte); blanks around names and values are ignored on reading; the first matching section,
// and in it the first matching key, wins. Lines that are neither are kept and skipped.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "support/result.h"

namespace koyomi {

// The value of `key` in `section` of INI text, blanks around it removed; nothing when the
// section or key is missing.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// INI text with `key` in `section` set to `value`: the key's line replaced in place, or the
// key added after the last non-blank line of its section, or the section added at the end.
// Every other line is kept as it was; lines end in CR LF. Section and key should already
// have passed `IsUsableProfileEntry`.
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// True when section, key and value can be written and read back as they are: names not
// empty, without line breaks; no "]" in the section, no "=" in the key, no "[" starting it;
// no line break in the value. Blanks around names are not counted.
bool IsUsableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

// One INI file on disk.
class ProfileFile {
  public:
    ProfileFile() = default;
    explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    // The stored value; nothing when the file, section or key is missing or the file cannot
    // be read. Broken files (binary junk, NUL bytes, no line ends) read as far as they go.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // Sets the value and replaces the file atomically (temporary file in the same folder,
    // flushed, then renamed over it), creating it on the first write. A file that exists but
    // cannot be read is not replaced.
    Status Write(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::filesystem::path path_;
};

}  // namespace koyomi

// The program's settings: one INI file, by default named after the program file with ".ini"
// and kept beside it, read and written by section and key.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/profile_file.h"

namespace koyomi {

// "koyomivw.ini" for ".../koyomivw": the program file's name with its extension (if any)
// replaced by ".ini", without the folder.
std::filesystem::path SettingsFileName(const std::filesystem::path& program_file);

class SettingsFile {
  public:
    // Works for the running program's file.
    SettingsFile();
    // Works for the given program file instead (tests, tools).
    explicit SettingsFile(std::filesystem::path program_file);

    const std::filesystem::path& FileName() const { return file_name_; }
    // A name with a folder part is used as it is; a bare name goes into the program file's
    // folder.
    void SetFileName(std::filesystem::path value);

    // Start-up naming, once the holding window has been created: an empty `FileName` becomes
    // the program file's settings file name. Until then reads give defaults, writes fail.
    void Loaded();

    // The resolved settings file; empty while `FileName` is.
    const std::filesystem::path& Path() const { return profile_.Path(); }

    // Optional blanks, an optional sign and decimal digits that fit 32 bits; otherwise, or
    // when the key is missing, the default.
    int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
    Status WriteInteger(std::string_view section, std::string_view key, int value) const;

    // The value with one pair of surrounding "..." or ｢...｣ removed, byte by byte; the default
    // exactly when the key is missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    // Writes the value unchanged; no quotes are added.
    Status WriteString(std::string_view section, std::string_view key,
                       std::string_view value) const;

  private:
    std::filesystem::path program_file_;
    std::filesystem::path file_name_;
    ProfileFile profile_;
};

}  // namespace koyomi

// The control's own settings: which back end serves (the local data service or JV-Link under
// Wine, and its prefix), which folder serves the local data and how long the download of one
// file takes. Kept in an INI file of its own, never in the program's settings file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/result.h"

namespace koyomi {

inline constexpr int kDefaultMsPerFile = 200;  // slow enough that a user sees the progress
inline constexpr int kLongestMsPerFile = 60000;

inline constexpr std::string_view kServiceBackendName = "service";
inline constexpr std::string_view kWineBackendName = "wine";

struct StandInSettings {
    std::filesystem::path service_folder;  // empty: not chosen
    int ms_per_file = kDefaultMsPerFile;
    std::string backend;                // kServiceBackendName, kWineBackendName, or empty
    std::filesystem::path wine_prefix;  // empty: not chosen
};

// Missing file, keys or unusable values give the defaults.
StandInSettings LoadStandInSettings(const std::filesystem::path& file);

// The download time per file as a person typed it: a whole number of milliseconds from 0 to
// kLongestMsPerFile, spaces around it allowed; anything else fails with a message for them.
Result<int> ParseMsPerFile(std::string_view text);

// Writes the settings file, creating its folder.
Status SaveStandInSettings(const std::filesystem::path& file, const StandInSettings& settings);

}  // namespace koyomi

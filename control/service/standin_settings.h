// The stand-in control's own settings: which folder serves the data and how long the download
// of one file takes. Kept in an INI file of its own, never in the program's settings file.
#pragma once

#include <filesystem>
#include <string>

namespace koyomi {

inline constexpr int kDefaultMsPerFile = 200;  // slow enough that a user sees the progress
inline constexpr int kLongestMsPerFile = 60000;

struct StandInSettings {
    std::filesystem::path service_folder;  // empty: not chosen
    int ms_per_file = kDefaultMsPerFile;
};

// Missing file, keys or unusable values give the defaults.
StandInSettings LoadStandInSettings(const std::filesystem::path& file);

// Writes the settings file, creating its folder; false with the system's reason on failure.
bool SaveStandInSettings(const std::filesystem::path& file, const StandInSettings& settings,
                         std::string& reason);

}  // namespace koyomi

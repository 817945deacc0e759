// Where the stand-in control finds its data service, keeps its settings and caches downloads.
#pragma once

#include <filesystem>
#include <string_view>

#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kServiceFolderVariable = "JVLINK_SERVICE_DIR";
inline constexpr std::string_view kStandInFolderName = "koyomivw-jvlink";
inline constexpr std::string_view kStandInSettingsFileName = "settings.ini";
inline constexpr std::string_view kBundledServiceFolderName = "sample-service";
inline constexpr std::string_view kBesideProgramCacheFolderName = "downloads";

struct StandInPaths {
    std::filesystem::path service_override;  // from JVLINK_SERVICE_DIR; empty when unset
    std::filesystem::path settings_file;     // the control's own settings
    std::filesystem::path cache_root;        // downloaded files, a folder per service
    std::filesystem::path bundled_service;   // the sample service beside the program
};

// What the paths are made from.
struct StandInEnvironment {
    std::filesystem::path home;              // HOME when absolute, else the password entry's
    std::filesystem::path config_home;       // $XDG_CONFIG_HOME
    std::filesystem::path cache_home;        // $XDG_CACHE_HOME
    std::filesystem::path service_override;  // from JVLINK_SERVICE_DIR; empty when unset
};

StandInEnvironment StandInEnvironmentOfProcess();

// The paths for a control living in `program_folder`: settings under $XDG_CONFIG_HOME (else
// ~/.config), cache under $XDG_CACHE_HOME (else ~/.cache), each in a "koyomivw-jvlink"
// folder. Relative XDG values are ignored, as the XDG rules say. Fails when a folder below
// the home folder is needed and the home is not an absolute path.
Result<StandInPaths> StandInPathsFor(const StandInEnvironment& environment,
                                     const std::filesystem::path& program_folder);

// The paths for a control that keeps everything beside the program in `program_folder`, as a
// portable copy of the Windows program does: settings in koyomivw-jvlink\settings.ini, the
// cache in koyomivw-jvlink\downloads, both below the program folder. The service override
// still comes from `environment`.
StandInPaths StandInPathsBesideProgram(const StandInEnvironment& environment,
                                       const std::filesystem::path& program_folder);

// StandInPathsFor the process's own environment.
Result<StandInPaths> StandInPathsFromEnvironment(const std::filesystem::path& program_folder);

// The data service in force: JVLINK_SERVICE_DIR, else the folder chosen in the settings, else
// the bundled sample service.
std::filesystem::path ServiceFolder(const StandInPaths& paths,
                                    const std::filesystem::path& chosen_folder);

}  // namespace koyomi

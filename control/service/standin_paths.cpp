#include "control/service/standin_paths.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <string>
#include <vector>

namespace koyomi {
namespace {

#ifdef _WIN32
// Built for Windows, the service is the JV-Link test control running under Wine: its settings
// and cache go to the Windows profile folders, and a service folder given as a Unix path (as a
// test sets it) is reached through drive Z:, which Wine maps to the Unix root.
constexpr const char* kConfigVariable = "APPDATA";
constexpr const char* kCacheVariable = "LOCALAPPDATA";

std::filesystem::path ServiceFolderFromVariable(const std::string& value) {
    if (value.front() == '/') {
        return std::filesystem::path("Z:" + value).make_preferred();
    }
    return value;
}
#else
constexpr const char* kConfigVariable = "XDG_CONFIG_HOME";
constexpr const char* kCacheVariable = "XDG_CACHE_HOME";

std::filesystem::path ServiceFolderFromVariable(const std::string& value) {
    return value;
}
#endif

std::filesystem::path Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

std::filesystem::path HomeOfProcess() {
#ifdef _WIN32
    return Variable("USERPROFILE");
#else
    if (std::filesystem::path home = Variable("HOME"); home.is_absolute()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
#endif
}

// `base` when absolute (a relative one is ignored, as the XDG rules say), else a folder below
// the home folder. Without an absolute home there is none: a shared folder such as /tmp in
// its place would let another local user make the folders first and choose what this control
// runs.
Result<std::filesystem::path> UserFolder(const std::filesystem::path& base,
                                         const std::filesystem::path& home,
                                         const char* fallback_below_home) {
    if (base.is_absolute()) {
        return base / kStandInFolderName;
    }
    if (!home.is_absolute()) {
        return Fail("$HOME: ホームフォルダが分かりません");
    }
    return home / fallback_below_home / kStandInFolderName;
}

}  // namespace

StandInEnvironment StandInEnvironmentOfProcess() {
    StandInEnvironment environment;
    environment.home = HomeOfProcess();
    environment.config_home = Variable(kConfigVariable);
    environment.cache_home = Variable(kCacheVariable);
    if (const char* service = std::getenv(std::string(kServiceFolderVariable).c_str());
        service != nullptr && *service != '\0') {
        environment.service_override = ServiceFolderFromVariable(service);
    }
    return environment;
}

Result<StandInPaths> StandInPathsFor(const StandInEnvironment& environment,
                                     const std::filesystem::path& program_folder) {
    const Result<std::filesystem::path> config =
        UserFolder(environment.config_home, environment.home, ".config");
    if (!config) {
        return config.Error();
    }
    const Result<std::filesystem::path> cache =
        UserFolder(environment.cache_home, environment.home, ".cache");
    if (!cache) {
        return cache.Error();
    }
    StandInPaths paths;
    paths.service_override = environment.service_override;
    paths.settings_file = *config / kStandInSettingsFileName;
    paths.cache_root = *cache;
    paths.bundled_service = program_folder / kBundledServiceFolderName;
    return paths;
}

StandInPaths StandInPathsBesideProgram(const StandInEnvironment& environment,
                                       const std::filesystem::path& program_folder) {
    const std::filesystem::path own = program_folder / kStandInFolderName;
    StandInPaths paths;
    paths.service_override = environment.service_override;
    paths.settings_file = own / kStandInSettingsFileName;
    paths.cache_root = own / kBesideProgramCacheFolderName;
    paths.bundled_service = program_folder / kBundledServiceFolderName;
    return paths;
}

Result<StandInPaths> StandInPathsFromEnvironment(const std::filesystem::path& program_folder) {
    return StandInPathsFor(StandInEnvironmentOfProcess(), program_folder);
}

std::filesystem::path ServiceFolder(const StandInPaths& paths,
                                    const std::filesystem::path& chosen_folder) {
    if (!paths.service_override.empty()) {
        return paths.service_override;
    }
    if (!chosen_folder.empty()) {
        return chosen_folder;
    }
    return paths.bundled_service;
}

}  // namespace koyomi

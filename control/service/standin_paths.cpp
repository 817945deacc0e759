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

std::filesystem::path AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path HomeFolder() {
#ifdef _WIN32
    if (std::filesystem::path home = AbsoluteVariable("USERPROFILE"); !home.empty()) {
        return home;
    }
#else
    if (std::filesystem::path home = AbsoluteVariable("HOME"); !home.empty()) {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
#endif
    return std::filesystem::temp_directory_path();
}

std::filesystem::path UserFolder(const char* variable, const char* fallback_below_home) {
    std::filesystem::path base = AbsoluteVariable(variable);
    if (base.empty()) {
        base = HomeFolder() / fallback_below_home;
    }
    return base / kStandInFolderName;
}

}  // namespace

StandInPaths StandInPathsFromEnvironment(const std::filesystem::path& program_folder) {
    StandInPaths paths;
    if (const char* service = std::getenv(std::string(kServiceFolderVariable).c_str());
        service != nullptr && *service != '\0') {
        paths.service_override = ServiceFolderFromVariable(service);
    }
    paths.settings_file = UserFolder(kConfigVariable, ".config") / kStandInSettingsFileName;
    paths.cache_root = UserFolder(kCacheVariable, ".cache");
    paths.bundled_service = program_folder / kBundledServiceFolderName;
    return paths;
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

#include "control/service/standin_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace koyomi {
namespace {

std::filesystem::path AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path HomeFolder() {
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
        paths.service_override = service;
    }
    paths.settings_file = UserFolder("XDG_CONFIG_HOME", ".config") / kStandInSettingsFileName;
    paths.cache_root = UserFolder("XDG_CACHE_HOME", ".cache");
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

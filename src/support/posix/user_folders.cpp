// The per-user folders of Linux: the XDG base and user-dirs rules, the home folder from the
// environment or the password database, folders made with 0700.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "support/app_folders.h"
#include "support/posix/xdg_user_dirs.h"
#include "support/settings_file.h"
#include "support/user_folders.h"
#include "support/whole_file.h"

namespace koyomi {
namespace fs = std::filesystem;

namespace {

fs::path AbsoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return {};
    }
    fs::path path(value);
    return path.is_absolute() ? path : fs::path();
}

fs::path PasswordHome() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

// `base` when set, else `fallback_below_home` in the home folder; empty without either.
fs::path UserBase(const fs::path& base, const fs::path& home, const char* fallback_below_home) {
    if (base.is_absolute()) {
        return base;
    }
    return home.is_absolute() ? home / fallback_below_home : fs::path();
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// One folder made with 0700; an existing folder is fine, anything else in its place is not.
Status MakeFolder(const fs::path& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        return {};
    }
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return {};
        }
        return Fail(folder.string() + ": " + SystemReason(ENOTDIR));
    }
    return Fail(folder.string() + ": " + SystemReason(error));
}

}  // namespace

FolderEnvironment FolderEnvironmentOfProcess() {
    FolderEnvironment env;
    env.home = AbsoluteVariable("HOME");
    if (env.home.empty()) {
        if (fs::path home = PasswordHome(); home.is_absolute()) {
            env.home = home;
        }
    }
    env.xdg_data_home = AbsoluteVariable("XDG_DATA_HOME");
    env.xdg_config_home = AbsoluteVariable("XDG_CONFIG_HOME");
    env.xdg_documents_dir = AbsoluteVariable("XDG_DOCUMENTS_DIR");
    return env;
}

AppFolders PerUserFolders(const fs::path& program_file, const FolderEnvironment& env) {
    AppFolders folders;
    folders.program_folder = program_file.parent_path();
    const fs::path data = UserBase(env.xdg_data_home, env.home, ".local/share");
    const fs::path config = UserBase(env.xdg_config_home, env.home, ".config");
    // Empty bases stay empty, so that PrepareAppFolders reports them instead of writing into
    // the current folder.
    if (!data.empty()) {
        folders.data_folder = data / kUserFolderName;
    }
    if (!config.empty()) {
        folders.settings_file =
            config / kUserFolderName / program_file.filename().replace_extension(".ini");
    }
    folders.documents_folder = DocumentsFolder(env);
    folders.beside_program = false;
    return folders;
}

std::optional<fs::path> UserDirFromText(std::string_view text, std::string_view name,
                                        const fs::path& home) {
    const std::string key = "XDG_" + std::string(name) + "_DIR=";
    std::optional<fs::path> found;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.starts_with(key)) {
            continue;
        }
        std::string_view quoted = line.substr(key.size());
        if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
            continue;
        }
        quoted = quoted.substr(1, quoted.size() - 2);
        std::string value;
        for (std::size_t i = 0; i < quoted.size(); ++i) {
            if (quoted[i] == '\\' && i + 1 < quoted.size()) {
                ++i;
            }
            value += quoted[i];
        }
        constexpr std::string_view kHome = "$HOME";
        if (value.starts_with(kHome) &&
            (value.size() == kHome.size() || value[kHome.size()] == '/')) {
            if (!home.is_absolute()) {
                continue;
            }
            const std::string rest = value.substr(kHome.size());
            found = rest.empty() || rest == "/" ? home : home / rest.substr(1);
        } else if (value.starts_with('/')) {
            found = fs::path(value);
        }
    }
    return found;
}

fs::path DocumentsFolder(const FolderEnvironment& env) {
    std::optional<fs::path> named;
    const fs::path config = UserBase(env.xdg_config_home, env.home, ".config");
    if (!config.empty()) {
        if (const Result<std::string> text =
                ReadWholeRegularFile(config / "user-dirs.dirs", 1 << 20)) {
            named = UserDirFromText(*text, "DOCUMENTS", env.home);
        }
    }
    if (!named && env.xdg_documents_dir.is_absolute()) {
        named = env.xdg_documents_dir;
    }
    std::error_code error;
    if (named && fs::is_directory(*named, error)) {
        return *named;
    }
    return env.home;
}

bool MayWriteFolder(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK) == 0;
}

Status MakeUserFolders(const fs::path& folder) {
    if (!folder.is_absolute()) {
        return Fail("$HOME: ホームフォルダが分かりません");
    }
    fs::path partial;
    for (const fs::path& part : folder) {
        partial /= part;
        if (partial == partial.root_path()) {
            continue;
        }
        if (Status made = MakeFolder(partial); !made) {
            // The reason names the folder asked for, and the step that failed when it differs.
            if (partial != folder) {
                return Fail(folder.string() + ": " + made.Reason());
            }
            return made;
        }
    }
    return {};
}

}  // namespace koyomi

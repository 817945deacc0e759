#include "support/open_url.h"

namespace koyomi {

namespace {

constexpr std::intptr_t kShellExecuteStarted = 32;  // results above mean success
constexpr unsigned kWinExecStarted = 31;

}  // namespace

bool ReadClassesRootDefault(ShellPlatform& platform, const std::string& subkey,
                            std::string& value) {
    const ClassesRootEntry entry = platform.ReadClassesRootKey(subkey);
    if (!entry.opened) {
        return false;
    }
    const std::string& read = entry.defaultValue ? *entry.defaultValue : std::string();
    value = read.substr(0, read.find('\0'));
    return true;
}

std::string RemoveDocumentPlaceholder(std::string command_line) {
    // A deletion never starts before the first character: a placeholder at the start stays.
    if (const size_t quoted = command_line.find("\"%1\""); quoted != std::string::npos) {
        if (quoted > 0) {
            command_line.erase(quoted - 1, 5);
        }
    } else if (const size_t bare = command_line.find("%1"); bare != std::string::npos) {
        if (bare > 0) {
            command_line.erase(bare - 1, 3);
        }
    }
    return command_line;
}

bool OpenURL(ShellPlatform& platform, const std::string& url, int show_mode) {
    if (platform.ShellExecuteOpen(url, show_mode) > kShellExecuteStarted) {
        return true;
    }
    std::string document_type;
    if (!ReadClassesRootDefault(platform, ".htm", document_type)) {
        return false;
    }
    std::string command;
    if (!ReadClassesRootDefault(platform, document_type + "\\shell\\open\\command", command)) {
        return false;
    }
    command = RemoveDocumentPlaceholder(std::move(command)) + " " + url;
    return platform.WinExec(command, show_mode) > kWinExecStarted;
}

}  // namespace koyomi

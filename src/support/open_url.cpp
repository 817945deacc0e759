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

std::string RemoveDocumentPlaceholder(std::string commandLine) {
    // A deletion never starts before the first character: a placeholder at the start stays.
    if (const size_t quoted = commandLine.find("\"%1\""); quoted != std::string::npos) {
        if (quoted > 0) {
            commandLine.erase(quoted - 1, 5);
        }
    } else if (const size_t bare = commandLine.find("%1"); bare != std::string::npos) {
        if (bare > 0) {
            commandLine.erase(bare - 1, 3);
        }
    }
    return commandLine;
}

bool OpenURL(ShellPlatform& platform, const std::string& url, int showMode) {
    if (platform.ShellExecuteOpen(url, showMode) > kShellExecuteStarted) {
        return true;
    }
    std::string documentType;
    if (!ReadClassesRootDefault(platform, ".htm", documentType)) {
        return false;
    }
    std::string command;
    if (!ReadClassesRootDefault(platform, documentType + "\\shell\\open\\command", command)) {
        return false;
    }
    command = RemoveDocumentPlaceholder(std::move(command)) + " " + url;
    return platform.WinExec(command, showMode) > kWinExecStarted;
}

}  // namespace koyomi

// Opening a web address: first through the desktop shell's "open", failing that through the
// browser command registered for ".htm" documents. The platform sits behind ShellPlatform.
// Addresses and command lines are system texts in UTF-8, as file paths are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace koyomi {

// Show the started program's window in its normal state.
inline constexpr int kShowNormal = 5;

// A key under the classes root and its default (unnamed) value.
struct ClassesRootEntry {
    bool opened = false;                      // the key exists and could be opened
    std::optional<std::string> defaultValue;  // none: the value is missing or unreadable
};

class ShellPlatform {
  public:
    virtual ~ShellPlatform() = default;
    // The shell's "open" verb on `target` with no parameters or working folder. A result
    // greater than 32 means it started.
    virtual std::intptr_t ShellExecuteOpen(const std::string& target, int show_mode) = 0;
    // The key `subkey` (for example ".htm" or "<type>\shell\open\command") under the
    // classes root.
    virtual ClassesRootEntry ReadClassesRootKey(const std::string& subkey) = 0;
    // Starts a command line as a new process. A result greater than 31 means it started.
    virtual unsigned WinExec(const std::string& command_line, int show_mode) = 0;
};

// The default value of `subkey` under the classes root, up to its first NUL. False when the
// key cannot be opened (value is then left alone); a key whose value cannot be read gives
// true and an empty value.
bool ReadClassesRootDefault(ShellPlatform& platform, const std::string& subkey, std::string& value);

// A registered open command without its document placeholder: a quoted "%1" goes with the
// character before it, else a bare %1 goes with the character before it; only the first
// occurrence, and never when it stands at the very start.
std::string RemoveDocumentPlaceholder(std::string command_line);

// Opens `url`; false when neither the shell nor the registered browser could be started.
bool OpenURL(ShellPlatform& platform, const std::string& url, int show_mode);

}  // namespace koyomi

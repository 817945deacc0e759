// The shell and "registry" services that opening a web address needs, answered by a Linux
// desktop after the freedesktop.org conventions: the shell's "open" is xdg-open, the type
// registered for ".htm" is the desktop's default application for text/html (a desktop file
// id), and "<id>\shell\open\command" is that desktop file's Exec line with its file or URL
// field code written as "%1". Programs are started directly, never through a shell, so no
// text of an address or a command line is ever interpreted.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/open_url.h"

namespace koyomi {

class DesktopPlatform final : public ShellPlatform {
  public:
    // Starts `xdg-open <target>` detached; 42 when it started, 2 when it could not be found,
    // 0 for other failures. The show mode has no meaning here.
    std::intptr_t ShellExecuteOpen(const std::string& target, int show_mode) override;
    // ".htm": `xdg-mime query default text/html`. "<id>\shell\open\command": the Exec line
    // of the desktop file <id>, translated. Other keys do not exist.
    ClassesRootEntry ReadClassesRootKey(const std::string& subkey) override;
    // Splits the command line into arguments (blanks separate them outside double quotes)
    // and starts the first one detached; 33 when it started, 2 when it could not be found,
    // 0 for other failures.
    unsigned WinExec(const std::string& command_line, int show_mode) override;
};

// The folders that hold desktop files, most important first: $XDG_DATA_HOME/applications
// (default ~/.local/share) then each of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
std::vector<std::filesystem::path> ApplicationFolders();

// The desktop file with the given id in the first folder that holds it ("a-b.desktop" may
// also live at "a/b.desktop"), as a classes-root key: not opened when there is none, no
// value when it has no usable Exec line.
ClassesRootEntry DesktopOpenCommand(std::string_view desktop_id,
                                    const std::vector<std::filesystem::path>& folders);

// An Exec value (already unescaped as a desktop-file string) as a command line: arguments
// re-quoted for SplitCommandLine, a file or URL field code (%f %F %u %U) written as "%1",
// "%%" as "%", other field codes dropped. None when its quoting is broken.
std::optional<std::string> ExecToCommandLine(std::string_view exec);

// The arguments of a command line: blanks (space, tab) separate them outside double quotes;
// the quotes themselves are dropped; \" and \\ stand for " and \ everywhere.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

}  // namespace koyomi

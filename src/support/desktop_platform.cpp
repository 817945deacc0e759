#include "support/desktop_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <thread>

extern char** environ;

namespace koyomi {

namespace {

namespace fs = std::filesystem;

constexpr std::intptr_t kShellStarted = 42;
constexpr unsigned kExecStarted = 33;
constexpr unsigned kFileNotFound = 2;  // the platform's "file not found"
constexpr unsigned kAccessDenied = 5;
constexpr unsigned kBadFormat = 11;
constexpr std::string_view kOpenCommandSuffix = "\\shell\\open\\command";
constexpr std::string_view kDesktopSuffix = ".desktop";
constexpr char kPlaceholderMark = '\0';  // cannot occur in an unescaped desktop-file value
constexpr size_t kMaxCapturedOutput = 64 * 1024;

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// A desktop file id names a file inside the application folders and nothing else.
bool IsDesktopId(std::string_view id) {
    return id.size() > kDesktopSuffix.size() && id.ends_with(kDesktopSuffix) && id[0] != '.' &&
           id.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string_view TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The process attributes every program we start gets: its own session, so it outlives us
// and ignores our terminal, and a clean signal state.
class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawnattr_init(&attributes_);
        posix_spawn_file_actions_init(&actions_);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes_, &signals);
        sigfillset(&signals);
        posix_spawnattr_setsigdefault(&attributes_, &signals);
        posix_spawnattr_setflags(
            &attributes_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    posix_spawn_file_actions_t* Actions() { return &actions_; }

    // Starts args[0], searched in PATH unless it holds a slash. Returns 0 or an errno value.
    int Spawn(const std::vector<std::string>& args, pid_t& pid) {
        std::vector<char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        return posix_spawnp(&pid, argv[0], &actions_, &attributes_, argv.data(), environ);
    }

  private:
    posix_spawnattr_t attributes_;
    posix_spawn_file_actions_t actions_;
};

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return status;
}

// Starts a program that runs on its own; its exit is collected in the background so it
// leaves no zombie behind, however long it runs.
int SpawnDetached(const std::vector<std::string>& args) {
    if (args.empty() || args[0].empty()) {
        return ENOENT;
    }
    SpawnSetup setup;
    pid_t pid = 0;
    const int error = setup.Spawn(args, pid);
    if (error == 0) {
        try {
            std::thread([pid] { WaitFor(pid); }).detach();
        } catch (const std::system_error&) {
            // Out of threads: the program has started all the same; only its exit status
            // stays uncollected.
        }
    }
    return error;
}

// Runs a program to its end and returns what it wrote to its standard output, or none when
// it could not run or failed.
std::optional<std::string> RunAndCapture(const std::vector<std::string>& args) {
    int pipe_ends[2];
    if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    SpawnSetup setup;
    posix_spawn_file_actions_adddup2(setup.Actions(), pipe_ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(setup.Actions(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = setup.Spawn(args, pid);
    close(pipe_ends[1]);
    if (error != 0) {
        close(pipe_ends[0]);
        return std::nullopt;
    }
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipe_ends[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        if (output.size() < kMaxCapturedOutput) {
            output.append(buffer, static_cast<size_t>(got));
        }
    }
    close(pipe_ends[0]);
    const int status = WaitFor(pid);
    if (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

ClassesRootEntry DefaultHtmlApplication() {
    const std::optional<std::string> output =
        RunAndCapture({"xdg-mime", "query", "default", "text/html"});
    if (!output) {
        return {};
    }
    const std::string_view id = TrimSpaces(std::string_view(*output).substr(0, output->find('\n')));
    if (!IsDesktopId(id)) {
        return {};
    }
    return {true, std::string(id)};
}

// Undoes the escapes of a desktop-file string value (\s \n \t \r \\); other backslashes are
// left for the Exec quoting rules.
std::string UnescapeDesktopString(std::string_view value) {
    std::string text;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[i + 1];
            const char plain = next == 's'    ? ' '
                               : next == 'n'  ? '\n'
                               : next == 't'  ? '\t'
                               : next == 'r'  ? '\r'
                               : next == '\\' ? '\\'
                                              : '\0';
            if (plain != '\0') {
                text += plain;
                ++i;
                continue;
            }
        }
        text += value[i];
    }
    return text;
}

// The raw Exec value of the [Desktop Entry] group, or none.
std::optional<std::string> ReadExecValue(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    bool in_entry = false;
    for (std::string line; std::getline(in, line);) {
        const std::string_view text = TrimSpaces(line);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        if (text[0] == '[') {
            in_entry = text == "[Desktop Entry]";
            continue;
        }
        const size_t equals = text.find('=');
        if (in_entry && equals != std::string_view::npos &&
            TrimSpaces(text.substr(0, equals)) == "Exec") {
            return std::string(TrimSpaces(text.substr(equals + 1)));
        }
    }
    return std::nullopt;
}

std::optional<fs::path> FindDesktopFile(std::string_view id, const fs::path& folder) {
    std::error_code error;
    const fs::path direct = folder / fs::path(std::string(id));
    if (fs::is_regular_file(direct, error)) {
        return direct;
    }
    if (id.find('-') == std::string_view::npos || !fs::is_directory(folder, error)) {
        return std::nullopt;
    }
    // In a subfolder the id joins the folder names with '-': "kde4-konqueror.desktop" may be
    // "kde4/konqueror.desktop".
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error)) {
            continue;
        }
        std::string relative = it->path().lexically_relative(folder).generic_string();
        std::replace(relative.begin(), relative.end(), '/', '-');
        if (relative == id) {
            return it->path();
        }
    }
    return std::nullopt;
}

bool NeedsQuotes(std::string_view arg) {
    return arg.empty() || arg.find_first_of(" \t\"\\") != std::string_view::npos;
}

}  // namespace

std::vector<fs::path> ApplicationFolders() {
    std::vector<fs::path> folders;
    const char* data_home = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data_home != nullptr && fs::path(data_home).is_absolute()) {
        folders.push_back(fs::path(data_home) / "applications");
    } else if (home != nullptr && fs::path(home).is_absolute()) {
        folders.push_back(fs::path(home) / ".local/share/applications");
    }
    const char* data_dirs = std::getenv("XDG_DATA_DIRS");
    const std::string_view dirs =
        data_dirs != nullptr && *data_dirs != '\0' ? data_dirs : "/usr/local/share:/usr/share";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string_view::npos) {
            end = dirs.size();
        }
        const fs::path dir(dirs.substr(start, end - start));
        if (dir.is_absolute()) {
            folders.push_back(dir / "applications");
        }
        start = end + 1;
    }
    return folders;
}

ClassesRootEntry DesktopOpenCommand(std::string_view desktop_id,
                                    const std::vector<fs::path>& folders) {
    if (!IsDesktopId(desktop_id)) {
        return {};
    }
    for (const fs::path& folder : folders) {
        if (const std::optional<fs::path> file = FindDesktopFile(desktop_id, folder)) {
            ClassesRootEntry entry{true, std::nullopt};
            if (const std::optional<std::string> exec = ReadExecValue(*file)) {
                entry.defaultValue = ExecToCommandLine(UnescapeDesktopString(*exec));
            }
            return entry;
        }
    }
    return {};
}

std::optional<std::string> ExecToCommandLine(std::string_view exec) {
    std::vector<std::string> args;
    std::string arg;
    bool has_arg = false;  // an empty quoted argument still counts
    bool in_quotes = false;
    const auto EndArg = [&] {
        if (has_arg) {
            args.push_back(std::move(arg));
        }
        arg.clear();
        has_arg = false;
    };
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == '%') {
            // Field codes, inside quotes too, as desktops expand them.
            const char code = i + 1 < exec.size() ? exec[++i] : '\0';
            if (code == '%') {
                arg += '%';
                has_arg = true;
            } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
                arg += kPlaceholderMark;
                has_arg = true;
            }
            continue;
        }
        if (in_quotes) {
            if (c == '\\' && i + 1 < exec.size() &&
                std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
                arg += exec[++i];
            } else if (c == '"') {
                in_quotes = false;
            } else {
                arg += c;
            }
        } else if (c == ' ' || c == '\t' || c == '\n') {
            EndArg();
        } else if (c == '"') {
            in_quotes = true;
            has_arg = true;
        } else {
            arg += c;
            has_arg = true;
        }
    }
    if (in_quotes) {
        return std::nullopt;
    }
    EndArg();

    std::string command_line;
    for (const std::string& each : args) {
        if (!command_line.empty()) {
            command_line += ' ';
        }
        if (each == std::string(1, kPlaceholderMark)) {
            command_line += "\"%1\"";
            continue;
        }
        std::string text;
        for (char c : each) {
            if (c == kPlaceholderMark) {
                text += "%1";
            } else {
                text += c;
            }
        }
        if (!NeedsQuotes(text)) {
            command_line += text;
            continue;
        }
        command_line += '"';
        for (char c : text) {
            if (c == '"' || c == '\\') {
                command_line += '\\';
            }
            command_line += c;
        }
        command_line += '"';
    }
    return command_line;
}

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
    std::vector<std::string> args;
    std::string arg;
    bool has_arg = false;
    bool in_quotes = false;
    for (size_t i = 0; i < command_line.size(); ++i) {
        const char c = command_line[i];
        if (c == '\\' && i + 1 < command_line.size() &&
            (command_line[i + 1] == '"' || command_line[i + 1] == '\\')) {
            arg += command_line[++i];
            has_arg = true;
        } else if (c == '"') {
            in_quotes = !in_quotes;
            has_arg = true;
        } else if (!in_quotes && (c == ' ' || c == '\t')) {
            if (has_arg) {
                args.push_back(std::move(arg));
            }
            arg.clear();
            has_arg = false;
        } else {
            arg += c;
            has_arg = true;
        }
    }
    if (has_arg) {
        args.push_back(std::move(arg));
    }
    return args;
}

std::intptr_t DesktopPlatform::ShellExecuteOpen(const std::string& target, int /*show_mode*/) {
    if (target.empty()) {
        return kFileNotFound;
    }
    const int error = SpawnDetached({"xdg-open", target});
    return error == 0 ? kShellStarted : error == ENOENT ? kFileNotFound : 0;
}

ClassesRootEntry DesktopPlatform::ReadClassesRootKey(const std::string& subkey) {
    if (EqualsIgnoringAsciiCase(subkey, ".htm")) {
        return DefaultHtmlApplication();
    }
    if (EndsWithIgnoringAsciiCase(subkey, kOpenCommandSuffix)) {
        return DesktopOpenCommand(
            std::string_view(subkey).substr(0, subkey.size() - kOpenCommandSuffix.size()),
            ApplicationFolders());
    }
    return {};
}

unsigned DesktopPlatform::WinExec(const std::string& command_line, int /*show_mode*/) {
    const int error = SpawnDetached(SplitCommandLine(command_line));
    switch (error) {
        case 0:
            return kExecStarted;
        case ENOENT:
        case ENOTDIR:
            return kFileNotFound;
        case EACCES:
        case EPERM:
            return kAccessDenied;
        case ENOEXEC:
            return kBadFormat;
        default:
            return 0;
    }
}

}  // namespace koyomi

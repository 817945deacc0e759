#include "control/wine/host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "control/wine/host_protocol.h"
#include "support/sjis_text.h"
#include "support/whole_file.h"

extern char** environ;

namespace koyomi {
namespace {

using Clock = std::chrono::steady_clock;

// How often a waiting call lets its caller's window handle events.
constexpr auto kWaiterTurn = std::chrono::milliseconds(50);
// What one read from the host takes at most.
constexpr std::size_t kReadChunk = 65536;

constexpr std::uint32_t kProgIdNotRegistered = 0x800401F3u;  // CO_E_CLASSSTRING
constexpr std::uint32_t kClassNotRegistered = 0x80040154u;   // REGDB_E_CLASSNOTREG

std::string HresultText(std::int32_t hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    std::string reason = text;
    switch (static_cast<unsigned>(hr)) {
        case kProgIdNotRegistered:
            reason += ", the ProgID is not registered";
            break;
        case kClassNotRegistered:
            reason += ", the class is not registered";
            break;
        case 0x8007007Eu:
            reason += ", the control's file was not found";
            break;
        default:
            break;
    }
    return reason;
}

bool IsExecutable(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// Writes every byte; SIGPIPE from a host that has gone is held back and dropped, so that a
// dead host is an error here and not the end of the program.
int WriteAll(int fd, std::string_view bytes) {
    sigset_t pipe_signal;
    sigset_t previous;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, &previous);
    int error = 0;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (error == EPIPE) {
        const timespec no_wait{};
        sigtimedwait(&pipe_signal, nullptr, &no_wait);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return error;
}

// The environment of the host: ours with the prefix set, and Wine's own diagnostics off unless
// the user asked for them.
std::vector<std::string> HostEnvironment(const std::filesystem::path& prefix) {
    std::vector<std::string> variables;
    bool has_debug = false;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (variable.starts_with("WINEPREFIX=")) {
            continue;
        }
        has_debug = has_debug || variable.starts_with("WINEDEBUG=");
        variables.emplace_back(variable);
    }
    variables.push_back("WINEPREFIX=" + prefix.string());
    if (!has_debug) {
        variables.emplace_back("WINEDEBUG=-all");
    }
    return variables;
}

}  // namespace

Result<std::filesystem::path> FindWineProgram() {
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t end = folders.find(':');
        const std::string_view folder = folders.substr(0, end);
        if (!folder.empty()) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / "wine";
            if (IsExecutable(candidate)) {
                return candidate;
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        folders.remove_prefix(end + 1);
    }
    return Fail("wine was not found on PATH (install it with scripts/setup-wine)");
}

bool IsWinePrefix(const std::filesystem::path& prefix) {
    std::error_code error;
    return std::filesystem::is_directory(prefix / "drive_c", error);
}

PrefixCheck CheckWinePrefix(const std::filesystem::path& prefix) {
    PrefixCheck check;
    struct stat status {};
    if (::stat(prefix.c_str(), &status) == 0 && status.st_uid != ::geteuid()) {
        check.fault = PrefixFault::OwnedByAnotherUser;
        check.reason = prefix.string() + " belongs to user id " + std::to_string(status.st_uid) +
                       ", not to this user (" + std::to_string(::geteuid()) + ")";
        return check;
    }
    const std::filesystem::path wow64 = prefix / "drive_c" / "windows" / "syswow64";
    std::error_code error;
    if (std::filesystem::is_directory(wow64, error) &&
        !std::filesystem::exists(wow64 / "kernel32.dll", error)) {
        check.fault = PrefixFault::IncompleteSyswow64;
        check.reason = "no kernel32.dll in " + wow64.string();
    }
    return check;
}

HostProcess::HostProcess(pid_t pid, int to_host, int from_host)
    : pid_(pid), to_host_(to_host), from_host_(from_host) {}

HostProcess::~HostProcess() {
    Close(kHostGraceOnClose);
    if (from_host_ >= 0) {
        ::close(from_host_);
    }
}

bool HostProcess::Close(std::chrono::milliseconds grace) {
    if (to_host_ >= 0) {
        ::close(to_host_);
        to_host_ = -1;
    }
    if (pid_ <= 0) {
        return false;
    }
    const auto give_up = Clock::now() + grace;
    while (true) {
        if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = 0;
            return true;
        }
        if (Clock::now() >= give_up) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Kill();
    return false;
}

void HostProcess::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
    }
}

Result<std::unique_ptr<HostProcess>> HostProcess::Start(const HostCommand& command,
                                                        std::chrono::milliseconds startup) {
    Result<std::unique_ptr<HostProcess>> host = Launch(command, startup);
    if (!host) {
        return host;
    }
    if (const Status created = (*host)->ControlCreated(); !created) {
        return Fail(created.Reason());
    }
    return host;
}

Status HostProcess::ControlCreated() const {
    if (!creation_failure_.empty()) {
        return Fail(creation_failure_);
    }
    return {};
}

bool HostProcess::ProgIdNotRegistered() const {
    const auto result = static_cast<std::uint32_t>(creation_result_);
    return result == kProgIdNotRegistered || result == kClassNotRegistered;
}

Result<std::unique_ptr<HostProcess>> HostProcess::Launch(const HostCommand& command,
                                                         std::chrono::milliseconds startup) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(command.host, error)) {
        return Fail(command.host.string() + ": not found");
    }
    // Wine would create a missing prefix, which takes long and may ask questions; a prefix
    // without JV-Link is of no use anyway.
    if (!IsWinePrefix(command.prefix)) {
        return Fail("no Wine prefix at " + command.prefix.string());
    }
    int to_host[2];
    int from_host[2];
    if (::pipe2(to_host, O_CLOEXEC) != 0) {
        return Fail("pipe: " + SystemReason(errno));
    }
    if (::pipe2(from_host, O_CLOEXEC) != 0) {
        const int saved = errno;
        ::close(to_host[0]);
        ::close(to_host[1]);
        return Fail("pipe: " + SystemReason(saved));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_host[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, from_host[1], STDOUT_FILENO);

    const std::string wine = command.wine.string();
    const std::string host = command.host.string();
    std::vector<char*> arguments = {const_cast<char*>(wine.c_str()),
                                    const_cast<char*>(host.c_str()), nullptr};
    std::vector<std::string> variables = HostEnvironment(command.prefix);
    std::vector<char*> environment;
    for (std::string& variable : variables) {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);

    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, wine.c_str(), &actions, nullptr, arguments.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(to_host[0]);
    ::close(from_host[1]);
    if (spawned != 0) {
        ::close(to_host[1]);
        ::close(from_host[0]);
        return Fail(wine + ": " + SystemReason(spawned));
    }
    std::unique_ptr<HostProcess> process(new HostProcess(pid, to_host[1], from_host[0]));

    Result<std::string> hello = process->ReadFrame(Clock::now() + startup);
    if (!hello) {
        return Fail(command.host.filename().string() + " did not start in the Wine prefix " +
                    command.prefix.string() + ": " + hello.Reason());
    }
    host_protocol::FrameReader reader(*hello);
    std::int32_t outcome = 0;
    std::u16string what;
    if (!reader.Int(outcome) || !reader.Text(what) || !reader.Complete()) {
        return Fail(command.host.filename().string() + " gave an unreadable greeting");
    }
    if (outcome != 0) {
        process->creation_result_ = outcome;
        // Any other text could be the control's words, which are never shown.
        const std::string step =
            host_protocol::IsCreationStep(what) ? Utf16ToUtf8(what) : "creating JV-Link";
        process->creation_failure_ = step + " failed in the Wine prefix " +
                                     command.prefix.string() + " (" + HresultText(outcome) + ")";
    }
    return process;
}

Result<std::string> HostProcess::Exchange(const std::string& request,
                                          std::optional<std::chrono::milliseconds> timeout,
                                          JVLinkWaiter* waiter) {
    if (pid_ <= 0) {
        return Fail("the host has ended");
    }
    if (const int error = WriteAll(to_host_, request); error != 0) {
        Kill();
        return Fail("writing to the host: " + SystemReason(error));
    }
    return ReadAnswer(timeout, waiter);
}

Result<std::string> HostProcess::ReadAnswer(std::optional<std::chrono::milliseconds> timeout,
                                            JVLinkWaiter* waiter) {
    std::optional<Clock::duration> left;  // of the time-out, counted while no window is up
    if (timeout) {
        left = *timeout;
    }
    bool window_up = false;
    bool window_changed = false;
    std::string bytes;  // of the frames not yet taken
    auto last_turn = Clock::now();
    while (true) {
        while (bytes.size() >= host_protocol::kFrameHeaderSize) {
            const std::uint32_t size =
                host_protocol::FrameSize(reinterpret_cast<const unsigned char*>(bytes.data()));
            if (size > host_protocol::kLargestFrame) {
                Kill();
                return Fail("the host sent a frame out of bounds");
            }
            if (bytes.size() < host_protocol::kFrameHeaderSize + size) {
                break;
            }
            std::string payload = bytes.substr(host_protocol::kFrameHeaderSize, size);
            bytes.erase(0, host_protocol::kFrameHeaderSize + size);
            host_protocol::FrameReader notice(payload);
            std::int32_t kind = 0;
            if (!notice.Int(kind) || kind != host_protocol::kNotice) {
                if (!bytes.empty()) {
                    Kill();
                    return Fail("the host sent more than its answer");
                }
                return payload;
            }
            std::int32_t windows = 0;
            if (!notice.Int(windows) || !notice.Complete()) {
                Kill();
                return Fail("the host sent an unreadable notice");
            }
            window_changed = window_changed || window_up != (windows != 0);
            window_up = windows != 0;
        }
        if (waiter != nullptr && (window_changed || Clock::now() - last_turn >= kWaiterTurn)) {
            if (!waiter->KeepWaiting(window_up)) {
                Kill();
                return Fail("the call was given up");
            }
            window_changed = false;
            last_turn = Clock::now();
        }
        int wait_ms = waiter != nullptr ? static_cast<int>(kWaiterTurn.count()) : -1;
        if (left && !window_up) {
            if (*left <= Clock::duration::zero()) {
                Kill();
                return Fail("no answer in time");
            }
            const auto rest = std::chrono::ceil<std::chrono::milliseconds>(*left).count();
            wait_ms =
                wait_ms < 0 ? static_cast<int>(rest) : std::min(wait_ms, static_cast<int>(rest));
        }
        const auto before = Clock::now();
        const Result<bool> read = ReadFromHost(wait_ms, kReadChunk, bytes);
        if (left && !window_up) {
            *left -= Clock::now() - before;
        }
        if (!read.Ok()) {
            return Fail(read.Reason());
        }
    }
}

Result<std::string> HostProcess::ReadFrame(std::optional<Clock::time_point> deadline) {
    std::string bytes;
    std::size_t wanted = host_protocol::kFrameHeaderSize;
    bool have_header = false;
    while (bytes.size() < wanted) {
        int wait_ms = -1;
        if (deadline) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now()).count();
            if (left <= 0) {
                Kill();
                return Fail("no answer in time");
            }
            wait_ms = static_cast<int>(left);
        }
        // Only this frame's bytes: what follows it is the next call's. A wait that ends
        // without any comes back to the deadline check above.
        const Result<bool> read = ReadFromHost(wait_ms, wanted - bytes.size(), bytes);
        if (!read.Ok()) {
            return Fail(read.Reason());
        }
        if (!have_header && bytes.size() == wanted) {
            const std::uint32_t size =
                host_protocol::FrameSize(reinterpret_cast<const unsigned char*>(bytes.data()));
            if (size > host_protocol::kLargestFrame) {
                Kill();
                return Fail("the host sent a frame out of bounds");
            }
            have_header = true;
            wanted += size;
        }
    }
    return bytes.substr(host_protocol::kFrameHeaderSize);
}

Result<bool> HostProcess::ReadFromHost(int wait_ms, std::size_t most, std::string& bytes) {
    pollfd ready{from_host_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, wait_ms);
    if (polled < 0) {
        if (errno == EINTR) {
            return false;
        }
        const int saved = errno;
        Kill();
        return Fail("waiting for the host: " + SystemReason(saved));
    }
    if (polled == 0) {
        return false;
    }
    char chunk[kReadChunk];
    const ssize_t got = ::read(from_host_, chunk, std::min(sizeof chunk, most));
    if (got < 0) {
        if (errno == EINTR || errno == EAGAIN) {
            return false;
        }
        const int saved = errno;
        Kill();
        return Fail("reading from the host: " + SystemReason(saved));
    }
    if (got == 0) {
        Kill();
        return Fail("the host has ended");
    }
    bytes.append(chunk, static_cast<std::size_t>(got));
    return true;
}

}  // namespace koyomi

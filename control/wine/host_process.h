// jvlink-host.exe running under Wine: starting it in a prefix, one request and its answer at a
// time (control/wine/host_protocol.h), and ending it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/jv_link.h"
#include "support/result.h"

namespace koyomi {

// How long a host whose input was closed after an orderly end may take to end before it is
// killed: the control's Release and CoUninitialize may have work of their own to finish.
inline constexpr std::chrono::milliseconds kHostGraceOnClose{5000};

struct HostCommand {
    std::filesystem::path wine;    // the wine program, found beforehand
    std::filesystem::path host;    // jvlink-host.exe
    std::filesystem::path prefix;  // the Wine prefix (WINEPREFIX of the host)
};

// The `wine` program on PATH (as `wine` itself would be found), or why there is none.
Result<std::filesystem::path> FindWineProgram();

// Whether `prefix` is a Wine prefix that has been set up (it has its drive C:).
bool IsWinePrefix(const std::filesystem::path& prefix);

// What keeps a set-up prefix from running the host, found before one is started there: Wine
// refuses a prefix of another user, and a 64-bit prefix without its 32-bit system files (what
// making one while a display was visible can leave) hangs the 32-bit host without a word.
enum class PrefixFault { None, OwnedByAnotherUser, IncompleteSyswow64 };
struct PrefixCheck {
    PrefixFault fault = PrefixFault::None;
    std::string reason;  // what was found, naming the folder
};
PrefixCheck CheckWinePrefix(const std::filesystem::path& prefix);

class HostProcess {
  public:
    // Starts the host and waits up to `startup` for its hello. Fails when the host cannot be
    // started, ends or says nothing in time, or could not create JV-Link (the reason names
    // the step and its HRESULT, e.g. the ProgID not being registered in the prefix).
    static Result<std::unique_ptr<HostProcess>> Start(const HostCommand& command,
                                                      std::chrono::milliseconds startup);

    // Start in two steps, for a caller that tells the causes apart: Launch fails only when
    // the host did not start or greet; ControlCreated then says whether the greeting reported
    // JV-Link created.
    static Result<std::unique_ptr<HostProcess>> Launch(const HostCommand& command,
                                                       std::chrono::milliseconds startup);
    Status ControlCreated() const;
    // The greeting failed because "JVDTLab.JVLink" or its class is not registered.
    bool ProgIdNotRegistered() const;

    // Closes the host's input and gives the control up to `grace` to shut down (Release,
    // CoUninitialize) before the host is killed. True when it ended by itself.
    bool Close(std::chrono::milliseconds grace);
    // Close with kHostGraceOnClose.
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    // Sends one request frame and returns the answer's payload. The time-out counts only the
    // time without a window of the control up (the host's notices say when one is) and not
    // the time spent in `waiter`, which runs every few tens of milliseconds while the answer
    // is awaited. Without a time-out it waits as long as the host lives. Any failure (host
    // ended, time-out, the waiter gave up, a frame out of bounds) leaves the host killed at
    // once; every later exchange fails at once.
    Result<std::string> Exchange(const std::string& request,
                                 std::optional<std::chrono::milliseconds> timeout,
                                 JVLinkWaiter* waiter = nullptr);
    // Kills the host at once.
    void Stop() { Kill(); }

    bool Alive() const { return pid_ > 0; }
    pid_t ProcessId() const { return pid_; }

  private:
    HostProcess(pid_t pid, int to_host, int from_host);

    // The next frame's payload within `deadline` (none: no limit).
    Result<std::string> ReadFrame(std::optional<std::chrono::steady_clock::time_point> deadline);
    // The answer's payload, taking the notices before it.
    Result<std::string> ReadAnswer(std::optional<std::chrono::milliseconds> timeout,
                                   JVLinkWaiter* waiter);
    // Waits up to `wait_ms` (-1: no limit) for the host's next bytes and appends at most `most`
    // of them to `bytes`: true when some came, false when the wait ended without any. A failed
    // read or the host's end stops the host and fails.
    Result<bool> ReadFromHost(int wait_ms, std::size_t most, std::string& bytes);
    void Kill();

    pid_t pid_;
    int to_host_;
    int from_host_;
    std::int32_t creation_result_ = 0;  // the greeting's HRESULT
    std::string creation_failure_;      // why JV-Link was not created; empty when it was
};

}  // namespace koyomi

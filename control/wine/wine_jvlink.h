// JV-Link under Wine: every call is forwarded to jvlink-host.exe, which holds the real COM
// control in a Wine prefix. A host that ends or stops answering makes the call fail with
// kJVLinkNotAnswering and is dropped: the request it held is gone, as after JVClose. The next
// JVInit, JVSetUIProperties or JVOpen starts a new host, and JVOpen first repeats the last
// JVInit with the same software ID. A call given up by its waiter ends the host the same way.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/jv_link.h"
#include "control/wine/host_process.h"
#include "control/wine/host_protocol.h"
#include "support/result.h"

namespace koyomi {

// How long each call may take before the host counts as no longer answering. Only the time
// without a window of the control counts: while one is up the call waits for the user.
struct HostTimeouts {
    std::chrono::milliseconds startup{30000};  // Wine start-up and creating the control
    std::chrono::milliseconds init{20000};
    std::chrono::milliseconds open{60000};   // the real control asks the server for its file list
    std::chrono::milliseconds quick{20000};  // JVSetUIProperties, JVStatus, JVRead, JVClose
};

class WineJVLink final : public JVLink {
  public:
    // Starts the host and creates the control; fails with the reason when that is not possible.
    static Result<std::unique_ptr<WineJVLink>> Create(HostCommand command,
                                                      HostTimeouts timeouts = {});
    // The control around a host started with `command` whose greeting reported JV-Link created.
    static std::unique_ptr<WineJVLink> Adopt(HostCommand command, HostTimeouts timeouts,
                                             std::unique_ptr<HostProcess> host);
    ~WineJVLink() override;
    WineJVLink(const WineJVLink&) = delete;
    WineJVLink& operator=(const WineJVLink&) = delete;

    int JVInit(const std::u16string& sid) override;
    int JVSetUIProperties() override;
    int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
               int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) override;
    int JVStatus() override;
    int JVRead(std::u16string& buff, int& size, std::u16string& filename) override;
    int JVClose() override;
    void SetWaiter(JVLinkWaiter* waiter) override { waiter_ = waiter; }

    // Ends the host as the end of the program does: its input closed, then up to 5 s for
    // the control to shut down. True when the host ended by itself, not killed.
    bool EndHost();

    // The host's process, for tests that end it; 0 when there is none.
    pid_t HostProcessId() const;
    // Why the last host was dropped or could not be started; empty when it never was.
    const std::string& LastFailure() const { return last_failure_; }

  private:
    WineJVLink(HostCommand command, HostTimeouts timeouts, std::unique_ptr<HostProcess> host);

    // A running host, starting one when needed; false when none could be started.
    bool EnsureHost();
    // One call: its answer's reader positioned after the result, or nothing when the host
    // failed (then dropped). `result` receives the call's result, or the failing HRESULT of a
    // COM error.
    std::optional<std::string> Call(const std::string& request,
                                    std::optional<std::chrono::milliseconds> timeout);
    // A call whose answer is its result alone (no outputs); a host that fails or answers
    // what cannot be read is dropped and gives kJVLinkNotAnswering.
    int CallForResult(host_protocol::Operation operation, const char* name,
                      std::optional<std::chrono::milliseconds> timeout);
    void DropHost(const std::string& reason);

    HostCommand command_;
    HostTimeouts timeouts_;
    std::unique_ptr<HostProcess> host_;
    JVLinkWaiter* waiter_ = nullptr;
    std::optional<std::u16string> sid_;  // the last JVInit's, repeated for a new host
    bool host_initialised_ = false;      // the running host has had that JVInit
    std::string last_failure_;
};

}  // namespace koyomi

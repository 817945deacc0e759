// JV-Link, the JRA-VAN Data Lab client control, as the program calls it. Texts are UTF-16,
// every operation returns an integer result code, outputs come back through references.
#pragma once

#include <string>

namespace koyomi {

// The buffer size handed (by reference) to every JVRead.
inline constexpr int kJVReadBufferSize = 60000;

// The result of a call the control did not answer: its process ended or went silent (COM's
// RPC_E_DISCONNECTED), or a call its caller gave up while it waited. The request is gone as
// after JVClose; the next JVOpen starts afresh.
inline constexpr int kJVLinkNotAnswering = static_cast<int>(0x80010108u);

// What the caller does while a call waits for the control, for a control that answers from
// elsewhere (another process) and so does not run the caller's window loop itself.
class JVLinkWaiter {
  public:
    virtual ~JVLinkWaiter() = default;

    // Called again and again while a call waits, every few tens of milliseconds: lets the
    // caller's window handle its events. `control_window_up`: the control shows a window of
    // its own and waits for the user; no time-out runs meanwhile. Returning false gives the
    // call up: it returns kJVLinkNotAnswering. Must not call the control.
    virtual bool KeepWaiting(bool control_window_up) = 0;
};

class JVLink {
  public:
    virtual ~JVLink() = default;

    // Checks the software ID and makes the control ready: 0, or an error code.
    virtual int JVInit(const std::u16string& sid) = 0;

    // Shows the control's own settings dialog: 0, or an error code.
    virtual int JVSetUIProperties() = 0;

    // Opens a data request. On 0: `readcount` files will be delivered, `downloadcount` of them
    // must be downloaded first, `lastfiletimestamp` is the newest data's time stamp
    // ("yyyymmddhhnnss", or empty or all zeros).
    virtual int JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
                       int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) = 0;

    // Files downloaded so far (0 to downloadcount), or an error code below 0.
    virtual int JVStatus() = 0;

    // Above 0: one record in `buff` (ending in CR LF), its length in bytes. 0: all read.
    // -1: moved to the next file. -2, -3: nothing yet, call again. Below -3: an error code.
    virtual int JVRead(std::u16string& buff, int& size, std::u16string& filename) = 0;

    // Ends the open request: 0, or an error code.
    virtual int JVClose() = 0;

    // What waiting calls do meanwhile (null: nothing); `waiter` must outlive its use. A
    // control whose modal windows run on the caller's own thread never waits that way and
    // ignores it.
    virtual void SetWaiter(JVLinkWaiter* waiter) { (void)waiter; }
};

}  // namespace koyomi

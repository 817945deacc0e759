// jvlink-host.exe: holds the JV-Link COM control under Wine for the control library on Linux.
// Creates "JVDTLab.JVLink" (control/windows/com_jvlink.h) in a single-threaded apartment, then
// serves the library's requests from standard input and answers on standard output
// (control/wine/host_protocol.h).
//
// An STA must pump window messages while it waits: the control's dialogs and downloads run on
// them. A reader thread takes the requests from standard input; the main thread serves them
// and, while it has none, sleeps until one comes or a window message needs pumping: an idle
// host does not wake at all. Right after an answer the next request usually follows within
// microseconds (the read loop of a fetch), so it first looks for it a short while without
// waiting, which saves the reader's event and the wait's Wine server round trip.
//
// The control may show modal windows of its own in the middle of a call, and the call returns
// only when the user has answered them. A watcher thread looks, while a call has been running
// for a while, for visible top-level windows of this process and tells the library when the
// first appears and when the last goes, so that it waits without a time-out meanwhile.
#include <objbase.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "control/windows/com_jvlink.h"
#include "control/wine/host_protocol.h"

namespace {

using koyomi::ComJVLink;
using koyomi::host_protocol::FrameReader;
using koyomi::host_protocol::FrameWriter;
using koyomi::host_protocol::Operation;

bool WriteAll(HANDLE handle, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                       &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool ReadAll(HANDLE handle, char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(handle, data + done, static_cast<DWORD>(size - done), &got, nullptr) ||
            got == 0) {
            return false;
        }
        done += got;
    }
    return true;
}

// One request frame's payload; false when the input ended or the frame is out of bounds.
bool ReadFrame(HANDLE input, std::string& payload) {
    unsigned char header[koyomi::host_protocol::kFrameHeaderSize];
    if (!ReadAll(input, reinterpret_cast<char*>(header), sizeof header)) {
        return false;
    }
    const std::uint32_t size = koyomi::host_protocol::FrameSize(header);
    if (size > koyomi::host_protocol::kLargestFrame) {
        return false;
    }
    payload.assign(size, '\0');
    return ReadAll(input, payload.data(), size);
}

BOOL CALLBACK FindShownWindow(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// True when this process shows a top-level window: only the control makes any.
bool ControlWindowShown() {
    bool found = false;
    EnumWindows(&FindShownWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Standard output, shared by the answers of the serving thread and the notices of the window
// watcher. A notice belongs to the call that is running; none is written once its answer is.
class AnswerChannel {
  public:
    explicit AnswerChannel(HANDLE output) : output_(output) {
        wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (wake_ != nullptr) {
            thread_ = CreateThread(nullptr, 0, &AnswerChannel::Run, this, 0, nullptr);
        }
    }
    ~AnswerChannel() {
        if (thread_ != nullptr) {
            stopping_.store(true);
            SetEvent(wake_);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (wake_ != nullptr) {
            CloseHandle(wake_);
        }
    }
    AnswerChannel(const AnswerChannel&) = delete;
    AnswerChannel& operator=(const AnswerChannel&) = delete;

    bool Started() const { return thread_ != nullptr; }

    // A call is about to run. Costs no system call unless the watcher sleeps.
    void CallStarting() {
        call_number_.fetch_add(1);
        call_started_.store(GetTickCount64());
        in_call_.store(true);
        if (asleep_.exchange(false)) {
            SetEvent(wake_);
        }
    }

    // The call has returned: its answer, after any notice of it.
    bool Answer(const std::string& frame) {
        std::lock_guard lock(mutex_);
        in_call_.store(false);
        return WriteAll(output_, frame);
    }

  private:
    // How often a running call is looked at, and how long it runs before it is.
    static constexpr DWORD kLookMs = 100;
    // How long the watcher stays awake after the last call before it sleeps until the next.
    static constexpr ULONGLONG kStayAwakeMs = 1000;

    static DWORD WINAPI Run(void* self) {
        static_cast<AnswerChannel*>(self)->Watch();
        return 0;
    }

    void Watch() {
        unsigned reported_call = 0;
        bool reported_shown = false;
        ULONGLONG last_call = 0;
        WaitForSingleObject(wake_, INFINITE);  // asleep until the first call
        while (!stopping_.load()) {
            WaitForSingleObject(wake_, kLookMs);
            if (stopping_.load()) {
                return;
            }
            const ULONGLONG now = GetTickCount64();
            if (in_call_.load()) {
                last_call = now;
                if (now - call_started_.load() < kLookMs) {
                    continue;
                }
                const unsigned call = call_number_.load();
                const bool shown = ControlWindowShown();
                std::lock_guard lock(mutex_);
                if (!in_call_.load() || call_number_.load() != call) {
                    continue;  // answered meanwhile
                }
                if (reported_call != call) {
                    reported_call = call;
                    reported_shown = false;
                }
                if (shown != reported_shown) {
                    reported_shown = shown;
                    WriteAll(output_, FrameWriter()
                                          .Int(koyomi::host_protocol::kNotice)
                                          .Int(shown ? 1 : 0)
                                          .Finish());
                }
            } else if (now - last_call >= kStayAwakeMs) {
                asleep_.store(true);
                // A call that started just now has seen the watcher awake: do not sleep.
                if (in_call_.load() && asleep_.exchange(false)) {
                    continue;
                }
                WaitForSingleObject(wake_, INFINITE);
                last_call = GetTickCount64();
            }
        }
    }

    HANDLE output_;
    std::mutex mutex_;
    std::atomic<bool> in_call_{false};
    std::atomic<unsigned> call_number_{0};
    std::atomic<ULONGLONG> call_started_{0};
    std::atomic<bool> asleep_{true};
    std::atomic<bool> stopping_{false};
    HANDLE wake_ = nullptr;
    HANDLE thread_ = nullptr;
};

// Takes whole requests from standard input on a thread of its own, which blocks in ReadFile
// (Wine cannot look into a pipe it was given without reading it), and hands them over under a
// lock. Ready() is signalled only when the main thread said it would wait for it, so a
// request that comes while the main thread is still looking costs no event.
class RequestReader {
  public:
    explicit RequestReader(HANDLE input) : input_(input) {
        ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (ready_ != nullptr) {
            thread_ = CreateThread(nullptr, 0, &RequestReader::Run, this, 0, nullptr);
        }
    }
    ~RequestReader() {
        // The thread may sit in ReadFile on a pipe that never ends; the process ends with it.
        for (HANDLE handle : {thread_, ready_}) {
            if (handle != nullptr) {
                CloseHandle(handle);
            }
        }
    }
    RequestReader(const RequestReader&) = delete;
    RequestReader& operator=(const RequestReader&) = delete;

    bool Started() const { return thread_ != nullptr; }
    HANDLE Ready() const { return ready_; }

    // Called before waiting for Ready(): the next request signals it. False (and nothing to
    // wait for) when a request or the end is already there.
    bool PrepareToWait() {
        waiting_.store(true);
        if (Pending()) {
            waiting_.store(false);
            return false;
        }
        return true;
    }

    // True when a request or the end of the input is there to take.
    bool Pending() {
        std::lock_guard lock(mutex_);
        return ended_ || !requests_.empty();
    }

    // The next request; false when none is there. `ended`: the input has ended.
    bool Take(std::string& payload, bool& ended) {
        std::lock_guard lock(mutex_);
        ended = ended_ && requests_.empty();
        if (requests_.empty()) {
            return false;
        }
        payload = std::move(requests_.front());
        requests_.pop_front();
        return true;
    }

  private:
    static DWORD WINAPI Run(void* self) {
        static_cast<RequestReader*>(self)->ReadRequests();
        return 0;
    }

    void ReadRequests() {
        for (;;) {
            std::string payload;
            const bool ok = ReadFrame(input_, payload);
            {
                std::lock_guard lock(mutex_);
                if (ok) {
                    requests_.push_back(std::move(payload));
                } else {
                    ended_ = true;
                }
            }
            if (waiting_.exchange(false)) {
                SetEvent(ready_);
            }
            if (!ok) {
                return;
            }
        }
    }

    HANDLE input_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    std::mutex mutex_;
    std::deque<std::string> requests_;
    bool ended_ = false;
    std::atomic<bool> waiting_{false};
};

FrameWriter Start(ComJVLink& control, int result, Operation operation) {
    FrameWriter answer;
    const HRESULT failure = control.LastCallFailure();
    if (failure != S_OK) {
        answer.Int(static_cast<std::int32_t>(failure))
            .Text(u"Invoke(" +
                  std::u16string(
                      koyomi::host_protocol::kOperationNames[static_cast<int>(operation) - 1]) +
                  u")");
    } else {
        answer.Int(0).Int(result);
    }
    return answer;
}

// Serves one request; an empty text when it is not one of this protocol.
std::string Serve(ComJVLink& control, AnswerChannel& channel, std::string_view payload) {
    FrameReader request(payload);
    std::int32_t number = 0;
    if (!request.Int(number)) {
        return {};
    }
    const auto operation = static_cast<Operation>(number);
    switch (operation) {
        case Operation::kJVInit: {
            std::u16string sid;
            if (!request.Text(sid) || !request.Complete()) {
                return {};
            }
            channel.CallStarting();
            return Start(control, control.JVInit(sid), operation).Finish();
        }
        case Operation::kJVSetUIProperties:
        case Operation::kJVStatus:
        case Operation::kJVClose: {
            if (!request.Complete()) {
                return {};
            }
            channel.CallStarting();
            const int result = operation == Operation::kJVSetUIProperties
                                   ? control.JVSetUIProperties()
                               : operation == Operation::kJVStatus ? control.JVStatus()
                                                                   : control.JVClose();
            return Start(control, result, operation).Finish();
        }
        case Operation::kJVOpen: {
            std::u16string dataspec;
            std::u16string fromtime;
            std::int32_t option = 0;
            if (!request.Text(dataspec) || !request.Text(fromtime) || !request.Int(option) ||
                !request.Complete()) {
                return {};
            }
            int read_count = 0;
            int download_count = 0;
            std::u16string timestamp;
            channel.CallStarting();
            const int result =
                control.JVOpen(dataspec, fromtime, option, read_count, download_count, timestamp);
            FrameWriter answer = Start(control, result, operation);
            if (control.LastCallFailure() == S_OK) {
                answer.Int(read_count).Int(download_count).Text(timestamp);
            }
            return answer.Finish();
        }
        case Operation::kJVRead: {
            std::int32_t size = 0;
            if (!request.Int(size) || !request.Complete()) {
                return {};
            }
            std::u16string buffer;
            std::u16string file_name;
            int size_value = size;
            channel.CallStarting();
            const int result = control.JVRead(buffer, size_value, file_name);
            FrameWriter answer = Start(control, result, operation);
            if (control.LastCallFailure() == S_OK) {
                answer.Int(size_value).Text(buffer).Text(file_name);
            }
            return answer.Finish();
        }
    }
    return {};
}

// Dispatches every waiting window message; false once WM_QUIT arrives.
bool PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

// How long the host looks for the next request after an answer before it sleeps.
constexpr auto kLookForNextRequest = std::chrono::microseconds(500);
// The longest the host goes without pumping messages while requests keep coming.
constexpr auto kLongestWithoutPumping = std::chrono::milliseconds(10);

// Serves until the input ends: 0, or the exit status of what went wrong.
int ServeAll(ComJVLink& control, HANDLE input, HANDLE output) {
    AnswerChannel channel(output);
    RequestReader reader(input);
    if (!channel.Started() || !reader.Started()) {
        return 3;
    }
    using Clock = std::chrono::steady_clock;
    auto last_answer = Clock::now() - kLookForNextRequest;
    auto last_pump = Clock::now();
    HANDLE ready = reader.Ready();
    for (;;) {
        std::string payload;
        bool ended = false;
        if (!reader.Take(payload, ended)) {
            if (ended) {
                return 0;
            }
            if (Clock::now() - last_answer < kLookForNextRequest) {
                SwitchToThread();
                continue;
            }
            if (reader.PrepareToWait()) {
                const DWORD woke = MsgWaitForMultipleObjectsEx(1, &ready, INFINITE, QS_ALLINPUT,
                                                               MWMO_INPUTAVAILABLE);
                if (woke == WAIT_OBJECT_0 + 1) {
                    last_pump = Clock::now();
                    if (!PumpMessages()) {
                        return 0;
                    }
                } else if (woke != WAIT_OBJECT_0) {
                    return 5;
                }
            }
            continue;
        }
        const std::string answer = Serve(control, channel, payload);
        if (answer.empty() || !channel.Answer(answer)) {
            return 4;  // not this protocol, or nobody listens any more
        }
        last_answer = Clock::now();
        if (last_answer - last_pump >= kLongestWithoutPumping) {
            last_pump = last_answer;
            if (!PumpMessages()) {
                return 0;
            }
        }
    }
}

}  // namespace

int main() {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(initialised)) {
        WriteAll(output, FrameWriter()
                             .Int(static_cast<std::int32_t>(initialised))
                             .Text(u"CoInitializeEx")
                             .Finish());
        return 1;
    }
    int status = 0;
    {
        koyomi::ComJVLinkCreation creation = ComJVLink::Create();
        if (!WriteAll(output, FrameWriter()
                                  .Int(static_cast<std::int32_t>(creation.failure))
                                  .Text(creation.step)
                                  .Finish())) {
            status = 4;
        } else if (!creation.link) {
            status = 2;
        } else {
            status = ServeAll(*creation.link, GetStdHandle(STD_INPUT_HANDLE), output);
        }
    }
    CoUninitialize();
    return status;
}

// jvlink-host.exe: holds the JV-Link COM control under Wine for the control library on Linux.
// Creates "JVDTLab.JVLink" by its ProgID in a single-threaded apartment, then serves the
// library's requests from standard input and answers on standard output (control/wine/
// host_protocol.h). Calls go through IDispatch::Invoke with the argument types the control's
// type library gives them, so any JV-Link, in-process or local server, answers as on Windows.
//
// An STA must pump window messages while it waits: the control's dialogs and downloads run on
// them. Standard input is a pipe: the main thread looks at it without blocking (PeekNamedPipe),
// reads a request as soon as one is there, and pumps messages in between. Right after an
// answer the next request usually follows within microseconds (the read loop of a fetch), so
// it looks again at once for a short while; when idle it waits for messages a few ms at a
// time. Waiting on events would go through the Wine server twice a call, costing more than the
// call itself. Should the input not be a pipe, a reader thread takes the frames and signals an
// event, and the main thread waits for that event and for window messages at once.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "control/wine/host_protocol.h"

namespace {

using koyomi::host_protocol::FrameReader;
using koyomi::host_protocol::FrameWriter;
using koyomi::host_protocol::Operation;

constexpr int kOperationCount = 6;

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string FromBstr(BSTR text) {
    return text == nullptr
               ? std::u16string()
               : std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

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

// Takes whole frames from standard input on a thread of its own and hands them over under a
// lock, signalling `ready` for each and once more when the input has ended.
class RequestReader {
  public:
    explicit RequestReader(HANDLE input) : input_(input) {
        ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &RequestReader::Run, this, 0, nullptr);
    }
    ~RequestReader() {
        // The thread may sit in ReadFile on a pipe that never ends; the process ends with it.
        if (thread_ != nullptr) {
            CloseHandle(thread_);
        }
        CloseHandle(ready_);
    }
    RequestReader(const RequestReader&) = delete;
    RequestReader& operator=(const RequestReader&) = delete;

    bool Started() const { return ready_ != nullptr && thread_ != nullptr; }
    HANDLE Ready() const { return ready_; }

    // Called before waiting for Ready(): from now on each frame signals it. False (and no
    // signal needed) when a frame or the end has already arrived.
    bool PrepareToWait() {
        waiting_.store(true);
        if (Pending()) {
            waiting_.store(false);
            return false;
        }
        return true;
    }

    // True when a frame or the end of the input is there to take.
    bool Pending() {
        std::lock_guard lock(mutex_);
        return ended_ || !frames_.empty();
    }

    // The next frame; false when none is waiting. `ended` says the input has ended.
    bool Take(std::string& payload, bool& ended) {
        std::lock_guard lock(mutex_);
        ended = ended_ && frames_.empty();
        if (frames_.empty()) {
            return false;
        }
        payload = std::move(frames_.front());
        frames_.pop_front();
        return true;
    }

  private:
    static DWORD WINAPI Run(void* self) {
        static_cast<RequestReader*>(self)->ReadFrames();
        return 0;
    }

    void ReadFrames() {
        for (;;) {
            unsigned char header[koyomi::host_protocol::kFrameHeaderSize];
            std::string payload;
            bool ok = ReadAll(input_, reinterpret_cast<char*>(header), sizeof header);
            const std::uint32_t size = ok ? koyomi::host_protocol::FrameSize(header) : 0;
            ok = ok && size <= koyomi::host_protocol::kLargestFrame;
            if (ok) {
                payload.resize(size);
                ok = ReadAll(input_, payload.data(), size);
            }
            {
                std::lock_guard lock(mutex_);
                if (ok) {
                    frames_.push_back(std::move(payload));
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
    std::deque<std::string> frames_;
    bool ended_ = false;
    std::atomic<bool> waiting_{false};
};

// One argument list for Invoke. IDispatch takes the arguments last first; Add takes them in
// the order of the method's parameters and fills the array from its end.
template <int kCount>
class Arguments {
  public:
    Arguments() {
        for (VARIANTARG& argument : values_) {
            VariantInit(&argument);
        }
    }
    ~Arguments() {
        for (VARIANTARG& argument : values_) {
            VariantClear(&argument);  // a by-reference argument owns nothing
        }
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    void Text(const std::u16string& text) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BSTR;
        argument.bstrVal = SysAllocStringLen(Wide(text), static_cast<UINT>(text.size()));
    }
    void Long(LONG value) {
        VARIANTARG& argument = Next();
        argument.vt = VT_I4;
        argument.lVal = value;
    }
    void LongOut(LONG* value) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BYREF | VT_I4;
        argument.plVal = value;
    }
    void TextOut(BSTR* text) {
        VARIANTARG& argument = Next();
        argument.vt = VT_BYREF | VT_BSTR;
        argument.pbstrVal = text;
    }

    DISPPARAMS Params() { return DISPPARAMS{kCount > 0 ? values_ : nullptr, nullptr, kCount, 0}; }

  private:
    VARIANTARG& Next() { return values_[kCount - 1 - added_++]; }

    VARIANTARG values_[kCount > 0 ? kCount : 1];
    int added_ = 0;
};

// BSTRs a call writes back, freed whatever happens.
struct OutText {
    BSTR text = nullptr;
    ~OutText() { SysFreeString(text); }
};

class Control {
  public:
    ~Control() {
        if (dispatch_ != nullptr) {
            dispatch_->Release();
        }
    }

    // Creates the control and looks up the six operations: the hello frame.
    std::string Create() {
        CLSID clsid{};
        HRESULT hr = CLSIDFromProgID(L"JVDTLab.JVLink", &clsid);
        if (FAILED(hr)) {
            return Hello(hr, u"CLSIDFromProgID(JVDTLab.JVLink)");
        }
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch,
                              reinterpret_cast<void**>(&dispatch_));
        if (FAILED(hr)) {
            dispatch_ = nullptr;
            return Hello(hr, u"CoCreateInstance(JVDTLab.JVLink)");
        }
        for (int i = 0; i < kOperationCount; ++i) {
            auto* name = const_cast<LPOLESTR>(
                reinterpret_cast<const wchar_t*>(koyomi::host_protocol::kOperationNames[i]));
            hr = dispatch_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &ids_[i]);
            if (FAILED(hr)) {
                return Hello(hr, u"GetIDsOfNames(" +
                                     std::u16string(koyomi::host_protocol::kOperationNames[i]) +
                                     u")");
            }
        }
        return Hello(S_OK, u"");
    }

    // Serves one request; an empty text when the request is not one of this protocol.
    std::string Serve(std::string_view payload) {
        FrameReader request(payload);
        std::int32_t operation = 0;
        if (!request.Int(operation)) {
            return {};
        }
        switch (static_cast<Operation>(operation)) {
            case Operation::kJVInit: {
                std::u16string sid;
                if (!request.Text(sid) || !request.Complete()) {
                    return {};
                }
                Arguments<1> arguments;
                arguments.Text(sid);
                return Answer(Call(operation, arguments));
            }
            case Operation::kJVSetUIProperties:
            case Operation::kJVStatus:
            case Operation::kJVClose: {
                if (!request.Complete()) {
                    return {};
                }
                Arguments<0> arguments;
                return Answer(Call(operation, arguments));
            }
            case Operation::kJVOpen:
                return ServeOpen(request);
            case Operation::kJVRead:
                return ServeRead(request);
        }
        return {};
    }

  private:
    struct Outcome {
        HRESULT hr = S_OK;
        LONG result = 0;
        std::u16string what;
    };

    static std::string Hello(HRESULT hr, const std::u16string& what) {
        return FrameWriter().Int(static_cast<std::int32_t>(hr)).Text(what).Finish();
    }

    template <int kCount>
    Outcome Call(std::int32_t operation, Arguments<kCount>& arguments) {
        Outcome outcome;
        DISPPARAMS params = arguments.Params();
        VARIANT result;
        VariantInit(&result);
        EXCEPINFO exception{};
        UINT bad_argument = 0;
        outcome.hr =
            dispatch_->Invoke(ids_[operation - 1], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                              &params, &result, &exception, &bad_argument);
        if (outcome.hr == DISP_E_EXCEPTION) {
            if (exception.pfnDeferredFillIn != nullptr) {
                exception.pfnDeferredFillIn(&exception);
            }
            outcome.what = FromBstr(exception.bstrDescription);
            if (exception.scode != 0) {
                outcome.hr = exception.scode;
            }
        }
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        if (SUCCEEDED(outcome.hr)) {
            const HRESULT converted = VariantChangeType(&result, &result, 0, VT_I4);
            if (FAILED(converted)) {
                outcome.hr = converted;
                outcome.what = u"the result is not an integer";
            } else {
                outcome.result = result.lVal;
            }
        } else if (outcome.what.empty()) {
            outcome.what =
                Ascii("Invoke(") + koyomi::host_protocol::kOperationNames[operation - 1] + u")";
        }
        VariantClear(&result);
        return outcome;
    }

    static FrameWriter Start(const Outcome& outcome) {
        FrameWriter answer;
        answer.Int(FAILED(outcome.hr) ? static_cast<std::int32_t>(outcome.hr) : 0);
        if (FAILED(outcome.hr)) {
            answer.Text(outcome.what);
        } else {
            answer.Int(outcome.result);
        }
        return answer;
    }

    static std::string Answer(const Outcome& outcome) { return Start(outcome).Finish(); }

    std::string ServeOpen(FrameReader& request) {
        std::u16string dataspec;
        std::u16string fromtime;
        std::int32_t option = 0;
        if (!request.Text(dataspec) || !request.Text(fromtime) || !request.Int(option) ||
            !request.Complete()) {
            return {};
        }
        LONG read_count = 0;
        LONG download_count = 0;
        OutText timestamp;
        Arguments<6> arguments;
        arguments.Text(dataspec);
        arguments.Text(fromtime);
        arguments.Long(option);
        arguments.LongOut(&read_count);
        arguments.LongOut(&download_count);
        arguments.TextOut(&timestamp.text);
        const Outcome outcome = Call(static_cast<std::int32_t>(Operation::kJVOpen), arguments);
        FrameWriter answer = Start(outcome);
        if (SUCCEEDED(outcome.hr)) {
            answer.Int(read_count).Int(download_count).Text(FromBstr(timestamp.text));
        }
        return answer.Finish();
    }

    std::string ServeRead(FrameReader& request) {
        std::int32_t size = 0;
        if (!request.Int(size) || !request.Complete()) {
            return {};
        }
        OutText buffer;
        LONG size_value = size;
        OutText file_name;
        Arguments<3> arguments;
        arguments.TextOut(&buffer.text);
        arguments.LongOut(&size_value);
        arguments.TextOut(&file_name.text);
        const Outcome outcome = Call(static_cast<std::int32_t>(Operation::kJVRead), arguments);
        FrameWriter answer = Start(outcome);
        if (SUCCEEDED(outcome.hr)) {
            answer.Int(size_value).Text(FromBstr(buffer.text)).Text(FromBstr(file_name.text));
        }
        return answer.Finish();
    }

    IDispatch* dispatch_ = nullptr;
    DISPID ids_[kOperationCount] = {};
};

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

// How long the host looks for the next request after an answer before it waits for it.
constexpr auto kLookForNextRequest = std::chrono::microseconds(500);

// How long the idle host waits for window messages before it looks at its input again.
constexpr DWORD kIdleWaitMs = 2;
// The longest the host goes without pumping messages while requests keep coming.
constexpr auto kLongestWithoutPumping = std::chrono::milliseconds(10);

// True when standard input can be looked at without reading it (a pipe, as the library
// gives). `ended` says the writer has gone and nothing is left.
bool InputWaiting(HANDLE input, bool& waiting, bool& ended) {
    DWORD available = 0;
    if (!PeekNamedPipe(input, nullptr, 0, nullptr, &available, nullptr)) {
        ended = GetLastError() == ERROR_BROKEN_PIPE;
        waiting = false;
        return ended;
    }
    ended = false;
    waiting = available > 0;
    return true;
}

// Serves from a pipe read on this thread: a request is read as soon as it is seen, with no
// other thread to wake. While requests come it looks for the next one without waiting; when
// idle it waits for window messages a little at a time.
int ServeFromPipe(Control& control, HANDLE input, HANDLE output) {
    using Clock = std::chrono::steady_clock;
    auto last_answer = Clock::now() - kLookForNextRequest;
    auto last_pump = Clock::now();
    for (;;) {
        bool waiting = false;
        bool ended = false;
        if (!InputWaiting(input, waiting, ended) || ended) {
            return 0;
        }
        const auto now = Clock::now();
        if (waiting) {
            unsigned char header[koyomi::host_protocol::kFrameHeaderSize];
            if (!ReadAll(input, reinterpret_cast<char*>(header), sizeof header)) {
                return 0;
            }
            const std::uint32_t size = koyomi::host_protocol::FrameSize(header);
            std::string payload(size <= koyomi::host_protocol::kLargestFrame ? size : 0, '\0');
            if (payload.size() != size || !ReadAll(input, payload.data(), size)) {
                return 4;
            }
            const std::string answer = control.Serve(payload);
            if (answer.empty() || !WriteAll(output, answer)) {
                return 4;  // not this protocol, or nobody listens any more
            }
            last_answer = Clock::now();
            if (last_answer - last_pump >= kLongestWithoutPumping) {
                last_pump = last_answer;
                if (!PumpMessages()) {
                    return 0;
                }
            }
        } else if (now - last_answer < kLookForNextRequest) {
            SwitchToThread();
        } else {
            const DWORD woke = MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitMs, QS_ALLINPUT,
                                                           MWMO_INPUTAVAILABLE);
            if (woke == WAIT_OBJECT_0) {
                last_pump = Clock::now();
                if (!PumpMessages()) {
                    return 0;
                }
            }
        }
    }
}

int Serve(Control& control, HANDLE output) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    bool waiting = false;
    bool ended = false;
    if (InputWaiting(input, waiting, ended) && !ended) {
        return ServeFromPipe(control, input, output);
    }
    RequestReader reader(input);
    if (!reader.Started()) {
        return 3;
    }
    HANDLE ready = reader.Ready();
    for (;;) {
        DWORD woke = WAIT_OBJECT_0;
        if (reader.PrepareToWait()) {
            woke =
                MsgWaitForMultipleObjectsEx(1, &ready, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
        if (woke == WAIT_OBJECT_0) {
            std::string payload;
            bool ended = false;
            while (reader.Take(payload, ended)) {
                const std::string answer = control.Serve(payload);
                if (answer.empty() || !WriteAll(output, answer)) {
                    return 4;  // not this protocol, or nobody listens any more
                }
            }
            if (ended) {
                return 0;
            }
        } else if (woke == WAIT_OBJECT_0 + 1) {
            if (!PumpMessages()) {
                return 0;
            }
        } else {
            return 5;
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
        Control control;
        const std::string hello = control.Create();
        FrameReader check(std::string_view(hello).substr(koyomi::host_protocol::kFrameHeaderSize));
        std::int32_t outcome = 0;
        check.Int(outcome);
        if (!WriteAll(output, hello)) {
            status = 4;
        } else if (outcome != 0) {
            status = 2;
        } else {
            status = Serve(control, output);
        }
    }
    CoUninitialize();
    return status;
}

#include "control/wine/wine_jvlink.h"

#include <utility>

#include "control/wine/host_protocol.h"

namespace koyomi {
namespace {

using host_protocol::FrameReader;
using host_protocol::FrameWriter;
using host_protocol::Operation;

constexpr int kNoRequest = -203;  // JVOpenが行なわれていません

std::string Request(Operation operation) {
    return FrameWriter().Int(static_cast<std::int32_t>(operation)).Finish();
}

// Reads the outcome and the result; false when the answer does not hold them. A COM failure
// of the call gives its HRESULT as the result, and no outputs follow.
bool ReadResult(FrameReader& answer, int& result, bool& has_outputs) {
    std::int32_t outcome = 0;
    if (!answer.Int(outcome)) {
        return false;
    }
    if (outcome != 0) {
        std::u16string what;
        result = outcome;
        has_outputs = false;
        return answer.Text(what) && answer.Complete();
    }
    std::int32_t value = 0;
    if (!answer.Int(value)) {
        return false;
    }
    result = value;
    has_outputs = true;
    return true;
}

}  // namespace

Result<std::unique_ptr<WineJVLink>> WineJVLink::Create(HostCommand command, HostTimeouts timeouts) {
    Result<std::unique_ptr<HostProcess>> host = HostProcess::Start(command, timeouts.startup);
    if (!host) {
        return Fail(host.Reason());
    }
    return Adopt(std::move(command), timeouts, std::move(host).Value());
}

std::unique_ptr<WineJVLink> WineJVLink::Adopt(HostCommand command, HostTimeouts timeouts,
                                              std::unique_ptr<HostProcess> host) {
    return std::unique_ptr<WineJVLink>(
        new WineJVLink(std::move(command), timeouts, std::move(host)));
}

WineJVLink::WineJVLink(HostCommand command, HostTimeouts timeouts,
                       std::unique_ptr<HostProcess> host)
    : command_(std::move(command)), timeouts_(timeouts), host_(std::move(host)) {}

WineJVLink::~WineJVLink() = default;

pid_t WineJVLink::HostProcessId() const {
    return host_ ? host_->ProcessId() : 0;
}

void WineJVLink::DropHost(const std::string& reason) {
    last_failure_ = reason;
    if (host_) {
        host_->Stop();  // what it answered cannot be trusted: no time to close
    }
    host_.reset();
    host_initialised_ = false;
}

bool WineJVLink::EndHost() {
    const bool ended = host_ && host_->Close(kHostGraceOnClose);
    host_.reset();
    host_initialised_ = false;
    return ended;
}

bool WineJVLink::EnsureHost() {
    if (host_) {
        return true;
    }
    Result<std::unique_ptr<HostProcess>> host = HostProcess::Start(command_, timeouts_.startup);
    if (!host) {
        last_failure_ = host.Reason();
        return false;
    }
    host_ = std::move(host).Value();
    return true;
}

std::optional<std::string> WineJVLink::Call(const std::string& request,
                                            std::optional<std::chrono::milliseconds> timeout) {
    if (!host_) {
        return std::nullopt;
    }
    Result<std::string> answer = host_->Exchange(request, timeout, waiter_);
    if (!answer) {
        DropHost(answer.Reason());
        return std::nullopt;
    }
    return std::move(answer).Value();
}

int WineJVLink::JVInit(const std::u16string& sid) {
    sid_ = sid;
    host_initialised_ = false;
    if (!EnsureHost()) {
        return kJVLinkNotAnswering;
    }
    const std::optional<std::string> answer =
        Call(FrameWriter().Int(static_cast<std::int32_t>(Operation::kJVInit)).Text(sid).Finish(),
             timeouts_.init);
    if (!answer) {
        return kJVLinkNotAnswering;
    }
    FrameReader reader(*answer);
    int result = 0;
    bool has_outputs = false;
    if (!ReadResult(reader, result, has_outputs) || !reader.Complete()) {
        DropHost("an unreadable answer to JVInit");
        return kJVLinkNotAnswering;
    }
    host_initialised_ = true;
    return result;
}

int WineJVLink::CallForResult(Operation operation, const char* name,
                              std::optional<std::chrono::milliseconds> timeout) {
    const std::optional<std::string> answer = Call(Request(operation), timeout);
    if (!answer) {
        return kJVLinkNotAnswering;
    }
    FrameReader reader(*answer);
    int result = 0;
    bool has_outputs = false;
    if (!ReadResult(reader, result, has_outputs) || !reader.Complete()) {
        DropHost(std::string("an unreadable answer to ") + name);
        return kJVLinkNotAnswering;
    }
    return result;
}

int WineJVLink::JVSetUIProperties() {
    if (!EnsureHost()) {
        return kJVLinkNotAnswering;
    }
    return CallForResult(Operation::kJVSetUIProperties, "JVSetUIProperties", timeouts_.quick);
}

int WineJVLink::JVOpen(const std::u16string& dataspec, const std::u16string& fromtime, int option,
                       int& readcount, int& downloadcount, std::u16string& lastfiletimestamp) {
    readcount = 0;
    downloadcount = 0;
    lastfiletimestamp.clear();
    if (!EnsureHost()) {
        return kJVLinkNotAnswering;
    }
    // A new host knows nothing of the JVInit the program made at its start.
    if (sid_ && !host_initialised_) {
        const std::u16string sid = *sid_;
        if (JVInit(sid) == kJVLinkNotAnswering) {
            return kJVLinkNotAnswering;
        }
    }
    const std::optional<std::string> answer =
        Call(FrameWriter()
                 .Int(static_cast<std::int32_t>(Operation::kJVOpen))
                 .Text(dataspec)
                 .Text(fromtime)
                 .Int(option)
                 .Finish(),
             timeouts_.open);
    if (!answer) {
        return kJVLinkNotAnswering;
    }
    FrameReader reader(*answer);
    int result = 0;
    bool has_outputs = false;
    std::int32_t read_count = 0;
    std::int32_t download_count = 0;
    std::u16string timestamp;
    if (!ReadResult(reader, result, has_outputs) ||
        (has_outputs &&
         (!reader.Int(read_count) || !reader.Int(download_count) || !reader.Text(timestamp))) ||
        !reader.Complete()) {
        DropHost("an unreadable answer to JVOpen");
        return kJVLinkNotAnswering;
    }
    readcount = read_count;
    downloadcount = download_count;
    lastfiletimestamp = std::move(timestamp);
    return result;
}

int WineJVLink::JVStatus() {
    if (!host_) {
        return kNoRequest;  // the request ended with the host that held it
    }
    return CallForResult(Operation::kJVStatus, "JVStatus", timeouts_.quick);
}

int WineJVLink::JVRead(std::u16string& buff, int& size, std::u16string& filename) {
    if (!host_) {
        return kNoRequest;
    }
    const std::optional<std::string> answer =
        Call(FrameWriter().Int(static_cast<std::int32_t>(Operation::kJVRead)).Int(size).Finish(),
             timeouts_.quick);
    if (!answer) {
        return kJVLinkNotAnswering;
    }
    FrameReader reader(*answer);
    int result = 0;
    bool has_outputs = false;
    std::int32_t new_size = 0;
    std::u16string record;
    std::u16string name;
    if (!ReadResult(reader, result, has_outputs) ||
        (has_outputs && (!reader.Int(new_size) || !reader.Text(record) || !reader.Text(name))) ||
        !reader.Complete()) {
        DropHost("an unreadable answer to JVRead");
        return kJVLinkNotAnswering;
    }
    if (has_outputs) {
        size = new_size;
        buff = std::move(record);
        filename = std::move(name);
    }
    return result;
}

int WineJVLink::JVClose() {
    if (!host_) {
        return 0;  // nothing is open: the request ended with the host that held it
    }
    return CallForResult(Operation::kJVClose, "JVClose", timeouts_.quick);
}

}  // namespace koyomi

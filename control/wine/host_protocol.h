// The conversation between the control library and jvlink-host.exe, the Windows program that
// holds JV-Link under Wine. Both sides include this header: the library (Linux) and the host
// (mingw-w64), so it needs nothing but the C++ library.
//
// Every message is a frame: a 32-bit byte count, then that many bytes of payload. Inside a
// payload a number is a 32-bit signed integer and a text is a 32-bit count of UTF-16 code units
// followed by the units; everything is little-endian.
//
// The host speaks first, once JV-Link is created or has failed to be:
//   hello:   outcome, text what      (outcome 0: ready; else the failing HRESULT, `what` says
//                                     which step failed, e.g. "CLSIDFromProgID(JVDTLab.JVLink)")
// Then the library sends one request at a time and the host answers each:
//   request: operation, arguments    (arguments below)
//   answer:  outcome, then           (outcome 0: the call returned; else the failing HRESULT)
//            on 0:    result, outputs
//            else:    text what      (the operation that failed; never the control's words)
// While a call runs, notices may come before its answer (never after it):
//   notice:  kNotice, windows        (1: the control shows a window of its own, the call
//                                     waits for the user; 0: its last window has gone)
//
//   JVInit             sid
//   JVSetUIProperties  -
//   JVOpen             dataspec, fromtime, option  -> readcount, downloadcount, lastfiletimestamp
//   JVStatus           -
//   JVRead             size                        -> size, buff, filename
//   JVClose            -
// JVRead's buff and filename go in empty, as the program always passes them, so only the size
// travels towards the host. The host ends when its standard input ends.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace koyomi::host_protocol {

enum class Operation : std::int32_t {
    kJVInit = 1,
    kJVSetUIProperties = 2,
    kJVOpen = 3,
    kJVStatus = 4,
    kJVRead = 5,
    kJVClose = 6,
};

// The names GetIDsOfNames is asked for, by operation number - 1.
inline constexpr const char16_t* kOperationNames[] = {
    u"JVInit", u"JVSetUIProperties", u"JVOpen", u"JVStatus", u"JVRead", u"JVClose",
};

// A notice's first number. Outcomes are 0 or a failing HRESULT, which is below 0.
inline constexpr std::int32_t kNotice = 1;

// Whether a greeting's `what` is one of the host's own step names, the only texts of the host
// that the library repeats: "CoInitializeEx", "CLSIDFromProgID(JVDTLab.JVLink)",
// "CoCreateInstance(JVDTLab.JVLink)" or "GetIDsOfNames(" an operation's name ")".
inline bool IsCreationStep(std::u16string_view what) {
    if (what == u"CoInitializeEx" || what == u"CLSIDFromProgID(JVDTLab.JVLink)" ||
        what == u"CoCreateInstance(JVDTLab.JVLink)") {
        return true;
    }
    for (const char16_t* name : kOperationNames) {
        if (what == u"GetIDsOfNames(" + std::u16string(name) + u")") {
            return true;
        }
    }
    return false;
}

inline constexpr std::size_t kFrameHeaderSize = 4;
// Far above the largest answer (a 60000-byte record as UTF-16 and a file name); anything
// larger is not a frame of this protocol.
inline constexpr std::uint32_t kLargestFrame = 1u << 20;

// Builds one frame.
class FrameWriter {
  public:
    FrameWriter() : bytes_(kFrameHeaderSize, '\0') {}

    FrameWriter& Int(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes_.push_back(static_cast<char>((bits >> shift) & 0xFF));
        }
        return *this;
    }

    FrameWriter& Text(std::u16string_view text) {
        Int(static_cast<std::int32_t>(text.size()));
        for (char16_t unit : text) {
            bytes_.push_back(static_cast<char>(unit & 0xFF));
            bytes_.push_back(static_cast<char>(unit >> 8));
        }
        return *this;
    }

    // The frame, its byte count filled in.
    std::string Finish() {
        const auto size = static_cast<std::uint32_t>(bytes_.size() - kFrameHeaderSize);
        for (std::size_t i = 0; i < kFrameHeaderSize; ++i) {
            bytes_[i] = static_cast<char>((size >> (8 * i)) & 0xFF);
        }
        return std::move(bytes_);
    }

  private:
    std::string bytes_;
};

// The payload size a frame header announces.
inline std::uint32_t FrameSize(const unsigned char header[kFrameHeaderSize]) {
    return static_cast<std::uint32_t>(header[0]) | (static_cast<std::uint32_t>(header[1]) << 8) |
           (static_cast<std::uint32_t>(header[2]) << 16) |
           (static_cast<std::uint32_t>(header[3]) << 24);
}

// Reads the parts of one payload in order; every read fails (and keeps failing) once the
// payload is shorter than what it should hold.
class FrameReader {
  public:
    explicit FrameReader(std::string_view payload) : rest_(payload) {}

    bool Int(std::int32_t& value) {
        if (!ok_ || rest_.size() < 4) {
            ok_ = false;
            return false;
        }
        unsigned char bytes[4];
        std::memcpy(bytes, rest_.data(), 4);
        value = static_cast<std::int32_t>(FrameSize(bytes));
        rest_.remove_prefix(4);
        return true;
    }

    bool Text(std::u16string& text) {
        std::int32_t count = 0;
        if (!Int(count) || count < 0 || static_cast<std::size_t>(count) > rest_.size() / 2) {
            ok_ = false;
            return false;
        }
        text.resize(static_cast<std::size_t>(count));
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(rest_[2 * i]) |
                                            (static_cast<unsigned char>(rest_[2 * i + 1]) << 8));
        }
        rest_.remove_prefix(text.size() * 2);
        return true;
    }

    // True when every read succeeded and the whole payload was used.
    bool Complete() const { return ok_ && rest_.empty(); }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

}  // namespace koyomi::host_protocol

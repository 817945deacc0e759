// Which JV-Link a Wine prefix has, the 32-bit or the 64-bit control, read from the prefix's
// machine registry file (system.reg) as text, without starting Wine, and the host program that
// can create it: a 32-bit host sees only the 32-bit registry view, a 64-bit host only the
// 64-bit one.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/result.h"

namespace koyomi {

inline constexpr std::string_view kJVLinkProgId = "JVDTLab.JVLink";
inline constexpr std::string_view kHostProgramName = "jvlink-host.exe";
inline constexpr std::string_view kHost64ProgramName = "jvlink-host64.exe";

// Whether a class is registered for in-process use in each view: its ProgID names a CLSID
// that has an InprocServer32 key in that view.
struct ControlRegistration {
    bool view32 = false;  // found by 32-bit programs
    bool view64 = false;  // found by 64-bit programs

    friend bool operator==(const ControlRegistration&, const ControlRegistration&) = default;
};

// The registration of `prog_id` in the text of a system.reg. A 32-bit prefix (#arch=win32)
// has only the 32-bit view; a 64-bit one keeps the 32-bit view's classes under Wow6432Node.
// A file without an #arch line is taken as 64-bit when `wow64_prefix`. Fails when the text is
// not a Wine registry file.
Result<ControlRegistration> ParseControlRegistration(std::string_view system_reg,
                                                     std::string_view prog_id, bool wow64_prefix);

// The registration of `prog_id` in the prefix's system.reg; the failure names that file.
Result<ControlRegistration> ReadControlRegistration(const std::filesystem::path& prefix,
                                                    std::string_view prog_id);

// The host for a registration: jvlink-host.exe when the 32-bit view has the control, also
// when neither has it (that host then says the ProgID is not registered), jvlink-host64.exe
// when only the 64-bit view has it.
std::string_view HostProgramFor(const ControlRegistration& registration);

// The host for a prefix and, for a person, what decided it ("64 ビット版の JV-Link が登録されて
// います"). A registry that cannot be read gives jvlink-host.exe, which then says what it
// finds.
struct HostChoice {
    std::string_view program;  // its file name in the program folder
    std::string why;           // UTF-8
};
HostChoice ChooseHost(const std::filesystem::path& prefix);

}  // namespace koyomi

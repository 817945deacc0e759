#include "control/wine/registered_control.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "support/whole_file.h"

namespace koyomi {
namespace {

constexpr std::string_view kRegistryHeader = "WINE REGISTRY Version 2";
constexpr std::string_view kClasses = "software\\classes";
constexpr std::string_view kClasses32On64 = "software\\classes\\wow6432node";
// A prefix's system.reg is a few megabytes; anything far larger is not one.
constexpr std::size_t kLargestRegistryFile = 256u << 20;

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = Lower(c);
    }
    return lowered;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = Lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Undoes Wine's escapes in a key name or a string value up to the unescaped `end`; nullopt
// when `end` never comes. Key names and values differ only in their end character.
std::optional<std::string> Unescaped(std::string_view text, std::size_t& at, char end) {
    std::string out;
    while (at < text.size()) {
        const char c = text[at++];
        if (c == end) {
            return out;
        }
        if (c != '\\' || at == text.size()) {
            out += c;
            continue;
        }
        const char escaped = text[at++];
        if (escaped == 'x') {
            unsigned code = 0;
            for (int digits = 0; digits < 4 && at < text.size() && HexDigit(text[at]) >= 0;
                 ++digits) {
                code = code * 16 + static_cast<unsigned>(HexDigit(text[at++]));
            }
            AppendUtf8(out, code);
        } else if (escaped >= '0' && escaped <= '7') {
            unsigned code = static_cast<unsigned>(escaped - '0');
            for (int digits = 1;
                 digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7'; ++digits) {
                code = code * 8 + static_cast<unsigned>(text[at++] - '0');
            }
            AppendUtf8(out, code);
        } else if (escaped == 'n') {
            out += '\n';
        } else if (escaped == 'r') {
            out += '\r';
        } else if (escaped == 't') {
            out += '\t';
        } else {
            out += escaped;
        }
    }
    return std::nullopt;
}

// Every key under the classes root, by its lowered name, with its default string value.
struct RegistryKeys {
    std::optional<std::string> arch;
    std::unordered_map<std::string, std::string> classes;
};

Result<RegistryKeys> ReadKeys(std::string_view text) {
    if (!text.starts_with(kRegistryHeader)) {
        return Fail("not a Wine registry file (no \"" + std::string(kRegistryHeader) + "\")");
    }
    RegistryKeys keys;
    std::string* current = nullptr;  // the default value of the key being read
    bool in_any_key = false;
    std::size_t line_start = 0;
    while (line_start < text.size()) {
        std::size_t line_end = text.find('\n', line_start);
        if (line_end == std::string_view::npos) {
            line_end = text.size();
        }
        std::string_view line = text.substr(line_start, line_end - line_start);
        line_start = line_end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('[')) {
            std::size_t at = 1;
            const std::optional<std::string> name = Unescaped(line, at, ']');
            in_any_key = true;
            current = nullptr;
            if (!name) {
                continue;
            }
            std::string lowered = Lowered(*name);
            if (lowered.starts_with(kClasses)) {
                current = &keys.classes[std::move(lowered)];
            }
        } else if (!in_any_key && line.starts_with("#arch=")) {
            keys.arch = std::string(line.substr(6));
        } else if (current != nullptr && line.starts_with("@=\"")) {
            std::size_t at = 3;
            if (const std::optional<std::string> value = Unescaped(line, at, '"')) {
                *current = *value;
            }
        }
    }
    return keys;
}

// Whether `root` (one view's classes) has an in-process server for `clsid`.
bool HasServer(const RegistryKeys& keys, std::string_view root, const std::string& clsid) {
    return !clsid.empty() && keys.classes.contains(std::string(root) + "\\clsid\\" +
                                                   Lowered(clsid) + "\\inprocserver32");
}

// The CLSID that `prog_id` names under `root`; empty when it names none.
std::string ClassOf(const RegistryKeys& keys, std::string_view root, std::string_view prog_id) {
    const auto found = keys.classes.find(std::string(root) + "\\" + Lowered(prog_id) + "\\clsid");
    return found != keys.classes.end() ? found->second : std::string();
}

}  // namespace

Result<ControlRegistration> ParseControlRegistration(std::string_view system_reg,
                                                     std::string_view prog_id, bool wow64_prefix) {
    const Result<RegistryKeys> keys = ReadKeys(system_reg);
    if (!keys) {
        return keys.Error();
    }
    const bool win64 = keys->arch ? *keys->arch == "win64" : wow64_prefix;
    ControlRegistration registration;
    const std::string shared = ClassOf(*keys, kClasses, prog_id);
    if (!win64) {
        registration.view32 = HasServer(*keys, kClasses, shared);
        return registration;
    }
    // Wine keeps a ProgID in the shared classes whatever the bitness that registered it, and
    // the class itself in the view of that bitness; a ProgID under Wow6432Node counts too.
    registration.view64 = HasServer(*keys, kClasses, shared);
    registration.view32 = HasServer(*keys, kClasses32On64, shared) ||
                          HasServer(*keys, kClasses32On64, ClassOf(*keys, kClasses32On64, prog_id));
    return registration;
}

Result<ControlRegistration> ReadControlRegistration(const std::filesystem::path& prefix,
                                                    std::string_view prog_id) {
    const std::filesystem::path file = prefix / "system.reg";
    const Result<std::string> text = ReadWholeRegularFile(file, kLargestRegistryFile);
    if (!text) {
        return text.Error();
    }
    std::error_code error;
    const bool wow64 = std::filesystem::is_directory(prefix / "drive_c/windows/syswow64", error);
    Result<ControlRegistration> registration = ParseControlRegistration(*text, prog_id, wow64);
    if (!registration) {
        return Fail(registration.Reason(), file);
    }
    return registration;
}

std::string_view HostProgramFor(const ControlRegistration& registration) {
    return !registration.view32 && registration.view64 ? kHost64ProgramName : kHostProgramName;
}

HostChoice ChooseHost(const std::filesystem::path& prefix) {
    const Result<ControlRegistration> registration = ReadControlRegistration(prefix, kJVLinkProgId);
    if (!registration) {
        return {kHostProgramName,
                "レジストリを読めません（" + Describe(registration.Error()) + "）"};
    }
    const std::string_view program = HostProgramFor(*registration);
    if (registration->view32) {
        return {program, "32 ビット版の JV-Link が登録されています"};
    }
    if (registration->view64) {
        return {program, "64 ビット版の JV-Link が登録されています"};
    }
    return {program, "JV-Link は登録されていません"};
}

}  // namespace koyomi

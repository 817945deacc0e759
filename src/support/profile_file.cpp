#include "support/profile_file.h"

#include <vector>

#include "support/sjis_text.h"
#include "support/whole_file.h"

namespace koyomi {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare with ASCII letters folded, character by character, so that the trail byte of
// a double-byte character (which may look like a letter) is compared exactly.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
        } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// Position of the first "]" that is a character of its own (not a trail byte), or npos.
std::size_t FindClosingBracket(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            ++i;
        } else if (text[i] == ']') {
            return i;
        }
    }
    return std::string_view::npos;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, blanks removed
    std::string_view value;  // key value, blanks removed
};

ParsedLine ParseLine(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    if (!text.empty() && text.front() == '[') {
        std::size_t close = FindClosingBracket(text, 1);
        if (close == std::string_view::npos) {
            close = text.size();
        }
        return {LineKind::Section, TrimBlanks(text.substr(1, close - 1)), {}};
    }
    // "=" never occurs as a trail byte, so a plain search is safe.
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::Key, TrimBlanks(text.substr(0, equals)), TrimBlanks(text.substr(equals + 1))};
}

// Lines without their line ends; LF alone, CR LF and a last line without an end all count.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
}

}  // namespace

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    bool in_section = false;
    for (std::string_view line : SplitLines(text)) {
        const ParsedLine parsed = ParseLine(line);
        if (parsed.kind == LineKind::Section) {
            if (in_section) {
                return std::nullopt;  // only the first section of that name counts
            }
            in_section = SameName(parsed.name, section);
        } else if (in_section && parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
            return parsed.value;
        }
    }
    return std::nullopt;
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    std::vector<std::string_view> lines = SplitLines(text);
    const std::string key_line = std::string(key) + "=" + std::string(value);
    const std::string section_line = "[" + std::string(section) + "]";

    // Where the new or changed line goes, and whether it replaces the line there.
    std::size_t at = lines.size();
    bool replace = false;
    bool section_found = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = ParseLine(lines[i]);
        if (parsed.kind == LineKind::Section) {
            if (section_found) {
                break;
            }
            if (SameName(parsed.name, section)) {
                section_found = true;
                at = i + 1;
            }
        } else if (section_found) {
            if (parsed.kind == LineKind::Key && SameName(parsed.name, key)) {
                at = i;
                replace = true;
                break;
            }
            if (!TrimBlanks(lines[i]).empty()) {
                at = i + 1;  // after the last non-blank line, before blank separators
            }
        }
    }

    std::string result;
    result.reserve(text.size() + key_line.size() + section_line.size() + 8);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == at) {
            result += key_line;
            result += kLineEnd;
            if (replace) {
                continue;
            }
        }
        result += lines[i];
        result += kLineEnd;
    }
    if (at == lines.size()) {
        if (!section_found) {
            result += section_line;
            result += kLineEnd;
        }
        result += key_line;
        result += kLineEnd;
    }
    return result;
}

bool IsUsableProfileEntry(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    const auto has_line_break = [](std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    };
    if (section.empty() || key.empty() || has_line_break(section) || has_line_break(key) ||
        has_line_break(value)) {
        return false;
    }
    // The section must read back whole: its own "]" (or a cut double-byte character that
    // would swallow ours) ends it early.
    const std::string header = "[" + std::string(section) + "]";
    if (FindClosingBracket(header, 1) != header.size() - 1) {
        return false;
    }
    return key.find('=') == std::string_view::npos && key.front() != '[';
}

std::optional<std::string> ProfileFile::Read(std::string_view section, std::string_view key) const {
    if (path_.empty()) {
        return std::nullopt;
    }
    const Result<std::string> content = ReadWholeRegularFile(path_);
    if (!content) {
        return std::nullopt;
    }
    const auto value = FindProfileValue(*content, section, key);
    if (!value) {
        return std::nullopt;
    }
    return std::string(*value);
}

Status ProfileFile::Write(std::string_view section, std::string_view key,
                          std::string_view value) const {
    if (path_.empty()) {
        return Fail("no settings file name");
    }
    if (!IsUsableProfileEntry(section, key, value)) {
        return Fail("section, key or value cannot be stored in a settings file", path_);
    }
    Result<std::string> read = ReadWholeRegularFile(path_);
    if (!read && read.Kind() != FailureKind::NotFound) {
        return read.Error();  // never overwrite what could not be read
    }
    const std::string content = read ? std::move(read).Value() : std::string();
    const std::string updated = WithProfileValue(content, section, key, value);
    if (read && updated == content) {
        return {};
    }
    ReplaceOptions options;
    options.sync = true;
    return ReplaceFileAtomically(path_, updated, options);
}

}  // namespace koyomi

#include "control/service/ini_sections.h"

#include <charconv>

namespace koyomi {
namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    const size_t end = text.find_last_not_of(kBlanks);
    return text.substr(begin, end - begin + 1);
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}  // namespace

IniSections ParseIniText(std::string_view text) {
    IniSections sections;
    std::map<std::string, std::string, std::less<>>* current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            const size_t close = line.find(']');
            if (close == std::string_view::npos) {
                current = nullptr;  // a broken header: its keys belong nowhere
                continue;
            }
            current = &sections[LowerAscii(Trimmed(line.substr(1, close - 1)))];
            continue;
        }
        const size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        const std::string key = LowerAscii(Trimmed(line.substr(0, equals)));
        if (!key.empty()) {
            (*current)[key] = std::string(Trimmed(line.substr(equals + 1)));
        }
    }
    return sections;
}

std::optional<std::string> IniValue(const IniSections& sections, std::string_view section,
                                    std::string_view key) {
    const auto found_section = sections.find(LowerAscii(section));
    if (found_section == sections.end()) {
        return std::nullopt;
    }
    const auto found_key = found_section->second.find(LowerAscii(key));
    if (found_key == found_section->second.end()) {
        return std::nullopt;
    }
    return found_key->second;
}

std::optional<int> IniInteger(const IniSections& sections, std::string_view section,
                              std::string_view key) {
    const std::optional<std::string> value = IniValue(sections, section, key);
    if (!value || value->empty()) {
        return std::nullopt;
    }
    std::string_view digits = *value;
    if (digits.front() == '+') {
        digits.remove_prefix(1);
        if (digits.empty() || digits.front() == '-') {
            return std::nullopt;
        }
    }
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace koyomi

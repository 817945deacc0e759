// An independent model of what a year file must hold: how its text splits into lines, and
// what storing one record makes of them. The crash, fault and fuzz checks compare the real
// files with it, so it is kept small and plain rather than fast.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"

namespace koyomi::model {

// Lines of a year file's text: CR LF, LF or a lone CR ends a line; the text after the last
// line end is a line when it is not empty.
inline std::vector<std::string> SplitYearFileText(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

// The text the program writes for these lines: every line ends in CR LF.
inline std::string YearFileText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

inline std::string_view LineKey(std::string_view line) {
    return line.size() <= 11 ? std::string_view{} : line.substr(11, 16);
}

inline std::string_view LineYear(std::string_view line) {
    return line.size() <= 11 ? std::string_view{} : line.substr(11, 4);
}

// The schedule line a record becomes, or nothing when it must not be stored: not "YS", too
// short to have a key, a year that is not four digits (it would name a file anywhere), or a
// line break inside.
inline std::optional<std::string> ScheduleLineOf(std::string_view record) {
    if (record.size() < 2 || record.substr(0, 2) != "YS") {
        return std::nullopt;
    }
    while (!record.empty() && (record.back() == '\r' || record.back() == '\n')) {
        record.remove_suffix(1);
    }
    if (record.size() < 27 || record.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    std::string line(record);
    line.replace(2, 9, "000000000");
    const std::string_view year = LineYear(line);
    if (!std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return line;
}

// Storing one line: the first line with the same key is replaced, else the line is added;
// then the lines are put in order.
inline void MergeLine(std::vector<std::string>& lines, std::string line) {
    const auto same_key = std::find_if(lines.begin(), lines.end(), [&](const std::string& old) {
        return LineKey(old) == LineKey(line);
    });
    if (same_key != lines.end()) {
        *same_key = std::move(line);
    } else {
        lines.push_back(std::move(line));
    }
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return ScheduleLineLess(a, b);
    });
}

// Whole (every line ends in CR LF), in order and without two lines of one key.
inline bool IsWellFormedYearFile(std::string_view text) {
    if (!text.empty() && !text.ends_with("\r\n")) {
        return false;
    }
    const std::vector<std::string> lines = SplitYearFileText(text);
    if (YearFileText(lines) != text) {
        return false;
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        if (ScheduleLineLess(lines[i], lines[i - 1])) {
            return false;
        }
    }
    std::vector<std::string_view> keys;
    for (const std::string& line : lines) {
        keys.push_back(LineKey(line));
    }
    std::sort(keys.begin(), keys.end());
    return std::adjacent_find(keys.begin(), keys.end()) == keys.end();
}

}  // namespace koyomi::model

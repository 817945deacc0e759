#include "schedule/today_rows.h"

#include <algorithm>
#include <string_view>

#include "support/sjis_text.h"

namespace koyomi {
namespace {

// "yyyymmdd" of the line (positions 12-19), or empty when it is not eight ASCII digits.
std::string_view DateKey(std::string_view line) {
    std::string_view date = Field(line, 12, 8);
    if (date.size() != 8 ||
        !std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return {};
    }
    return date;
}

std::string DayKey(const LocalDateTime& day) {
    return FormatCompact(day).substr(0, 8);
}

}  // namespace

std::vector<int> RowsOfDay(const std::vector<std::string>& shown_lines, const LocalDateTime& day) {
    const std::string key = DayKey(day);
    std::vector<int> rows;
    for (size_t i = 0; i < shown_lines.size(); ++i) {
        if (DateKey(shown_lines[i]) == key) {
            rows.push_back(static_cast<int>(i) + 1);
        }
    }
    return rows;
}

std::optional<int> FirstRowOnOrAfter(const std::vector<std::string>& shown_lines,
                                     const LocalDateTime& day) {
    const std::string key = DayKey(day);
    for (size_t i = 0; i < shown_lines.size(); ++i) {
        std::string_view date = DateKey(shown_lines[i]);
        if (!date.empty() && date >= key) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

}  // namespace koyomi

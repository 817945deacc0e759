#include "schedule/today_rows.h"

#include "schedule/schedule_line.h"

namespace koyomi {
namespace {

LineDate DateOf(const LocalDateTime& day) {
    return {day.year, day.month, day.day};
}

}  // namespace

std::vector<int> RowsOfDay(const std::vector<std::string>& shown_lines, const LocalDateTime& day) {
    const LineDate wanted = DateOf(day);
    std::vector<int> rows;
    for (size_t i = 0; i < shown_lines.size(); ++i) {
        if (LineDateOf(shown_lines[i]) == wanted) {
            rows.push_back(static_cast<int>(i));
        }
    }
    return rows;
}

std::optional<int> FirstRowOnOrAfter(const std::vector<std::string>& shown_lines,
                                     const LocalDateTime& day) {
    const LineDate wanted = DateOf(day);
    for (size_t i = 0; i < shown_lines.size(); ++i) {
        const std::optional<LineDate> date = LineDateOf(shown_lines[i]);
        if (date && *date >= wanted) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace koyomi

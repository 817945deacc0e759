// Comparing a year file with the model's lines. The line order folds ASCII letter case, so
// two lines that differ only there are equal to it and may stand either way round: the file
// must be in order and hold the same lines, not match the model's tie order byte for byte.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/year_file.h"
#include "year_file_model.h"

namespace koyomi::fuzz {

// True when `text` is a whole year file (every line ending in CR LF) holding exactly
// `expected`'s lines in an order that ScheduleLineLess accepts.
inline bool HoldsLinesInOrder(std::string_view text, std::vector<std::string> expected) {
    std::vector<std::string> lines = model::SplitYearFileText(text);
    if (model::YearFileText(lines) != text || lines.size() != expected.size()) {
        return false;
    }
    for (size_t i = 1; i < lines.size(); ++i) {
        if (ScheduleLineLess(lines[i], lines[i - 1])) {
            return false;
        }
    }
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    return lines == expected;
}

}  // namespace koyomi::fuzz

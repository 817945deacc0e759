// The items of the year selector: the year files of the program folder, newest first.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace koyomi {

struct YearSelectorItem {
    std::string text;            // the file name without ".jvYS", UTF-8 as the name is
    std::filesystem::path file;  // the file's real name, to open it by
};

// The year files of `folder` in descending name order. A missing or unreadable folder gives
// no items.
std::vector<YearSelectorItem> YearSelectorItems(const std::filesystem::path& folder);

}  // namespace koyomi

// The items of the year selector: the year files of the program folder, newest first.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace koyomi {

struct YearSelectorItem {
    std::string Text;            // the file name without ".jvYS", code page 932
    std::filesystem::path File;  // the file's real name, to open it by
};

// The year files of `folder` in descending name order. A missing or unreadable folder gives
// no items.
std::vector<YearSelectorItem> YearSelectorItems(const std::filesystem::path& folder);

}  // namespace koyomi

#include "schedule/year_selector.h"

#include "schedule/year_file.h"

namespace koyomi {

std::vector<YearSelectorItem> YearSelectorItems(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files = ListYearFiles(folder);
    std::vector<YearSelectorItem> items;
    items.reserve(files.size());
    // The file list is ascending; walking it backwards puts the newest year first.
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        items.push_back({YearFileDisplayName(*it), *it});
    }
    return items;
}

}  // namespace koyomi

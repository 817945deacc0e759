#include "app/qt/grid_widget_source.h"

#include <QHeaderView>

namespace koyomi {

GridTable ShownTable(const ScheduleGrid& grid, const QTableView& widget) {
    std::vector<int> widths;
    for (int place = 0; place < kScheduleColumnCount; ++place) {
        widths.push_back(widget.columnWidth(place));
    }
    // The widget draws the headings as its header, one default row high.
    const int default_height = widget.verticalHeader()->defaultSectionSize();
    return ScheduleTable(grid, std::move(widths), default_height, [&](int row) {
        const int height = widget.rowHeight(row);
        return height > 0 ? height : default_height;
    });
}

}  // namespace koyomi

#include "app/qt/grid_widget_source.h"

#include <QHeaderView>

namespace koyomi {

int GridWidgetSource::ColWidth(int col) const {
    return widget_.columnWidth(col);
}

int GridWidgetSource::RowHeight(int row) const {
    // Row 0 is the heading row, which the widget draws as its header.
    if (row == 0) {
        return widget_.verticalHeader()->defaultSectionSize();
    }
    const int height = widget_.rowHeight(row - 1);
    return height > 0 ? height : widget_.verticalHeader()->defaultSectionSize();
}

}  // namespace koyomi

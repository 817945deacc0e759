#include "app/qt/schedule_grid_delegate.h"

#include <QPainter>
#include <algorithm>

#include "schedule/schedule_grid.h"

namespace koyomi {

QColor ScheduleCellBackground(int column, const QPalette& palette) {
    if (column < 0 || column >= kScheduleColumnCount) {
        return palette.color(QPalette::Base);
    }
    const ColumnBackground& background = ScheduleColumns()[static_cast<size_t>(column)].background;
    if (background.system_info) {
        return palette.color(QPalette::ToolTipBase);
    }
    return QColor(background.red, background.green, background.blue);
}

Qt::Alignment ScheduleCellAlignment(int column) {
    const bool left = column >= 0 && column < kScheduleColumnCount &&
                      ScheduleColumns()[static_cast<size_t>(column)].left_aligned;
    return (left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignTop;
}

QColor TodayFrameColour() {
    return QColor(0xB0, 0x00, 0x00);
}

void ScheduleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const int column = index.column();
    const bool marked = std::binary_search(marked_rows_.begin(), marked_rows_.end(), index.row());
    painter->save();
    painter->fillRect(option.rect, ScheduleCellBackground(column, option.palette));
    QFont font = option.font;
    font.setBold(font.bold() || marked);
    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setClipRect(option.rect);
    painter->drawText(option.rect, int(ScheduleCellAlignment(column) | Qt::TextSingleLine),
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    if (marked) {
        // Each cell draws its part of the frame: top and bottom edges, and the outer sides at
        // the first and last columns.
        const QRect cell = option.rect;
        painter->setClipping(false);
        painter->setPen(QPen(TodayFrameColour(), 2));
        painter->drawLine(cell.left(), cell.top() + 1, cell.right() + 1, cell.top() + 1);
        painter->drawLine(cell.left(), cell.bottom(), cell.right() + 1, cell.bottom());
        if (column == 0) {
            painter->drawLine(cell.left() + 1, cell.top(), cell.left() + 1, cell.bottom());
        }
        if (index.model() != nullptr && column == index.model()->columnCount() - 1) {
            painter->drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
        }
    }
    painter->restore();
}

}  // namespace koyomi

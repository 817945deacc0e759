#include "app/schedule_grid_delegate.h"

#include <QPainter>

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

void ScheduleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const int column = index.column();
    painter->save();
    painter->fillRect(option.rect, ScheduleCellBackground(column, option.palette));
    painter->setFont(option.font);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setClipRect(option.rect);
    painter->drawText(option.rect, int(ScheduleCellAlignment(column) | Qt::TextSingleLine),
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

}  // namespace koyomi

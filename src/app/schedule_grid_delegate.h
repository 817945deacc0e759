// Paints the data cells of the schedule grid: the column decides the background and the
// alignment; text sits at the top of the cell with no margin, no wrap and no ellipsis.
#pragma once

#include <QColor>
#include <QPalette>
#include <QStyledItemDelegate>

namespace koyomi {

// The background of a data cell of `column`, the info colour taken from `palette`.
QColor ScheduleCellBackground(int column, const QPalette& palette);

// Left for the mark and the race name, centred for every other column.
Qt::Alignment ScheduleCellAlignment(int column);

class ScheduleGridDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace koyomi

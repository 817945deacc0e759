// Paints the data cells of the schedule grid: the column decides the background and the
// alignment; text sits at the top of the cell with no margin, no wrap and no ellipsis. The rows
// of today are marked with bold text and a frame around the row, over the same backgrounds.
#pragma once

#include <vector>

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

    // Rows of the view (the first data row is 0) to mark as today's, in ascending order.
    void SetMarkedRows(std::vector<int> rows) { marked_rows_ = std::move(rows); }
    const std::vector<int>& MarkedRows() const { return marked_rows_; }

  private:
    std::vector<int> marked_rows_;
};

// The frame of today's rows: dark red, readable on every column colour.
QColor TodayFrameColour();

}  // namespace koyomi

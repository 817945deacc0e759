#include "app/qt/schedule_table_model.h"

#include "support/qt/qt_text.h"

namespace koyomi {

void ScheduleTableModel::ShowGrid(const ScheduleGrid& grid) {
    beginResetModel();
    grid_ = grid;
    endResetModel();
}

int ScheduleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount() - 1;
}

int ScheduleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.ColCount();
}

QVariant ScheduleTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return QVariant();
    }
    return SjisToQString(grid_.Cell(index.column(), index.row() + 1));
}

QVariant ScheduleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= grid_.ColCount()) {
        return QVariant();
    }
    return SjisToQString(grid_.Cell(section, 0));
}

}  // namespace koyomi

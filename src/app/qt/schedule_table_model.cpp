#include "app/qt/schedule_table_model.h"

#include "support/qt/qt_text.h"

namespace koyomi {

void ScheduleTableModel::ShowGrid(const ScheduleGrid& grid) {
    beginResetModel();
    grid_ = grid;
    endResetModel();
}

int ScheduleTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : grid_.RowCount();
}

int ScheduleTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kScheduleColumnCount;
}

QVariant ScheduleTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return QVariant();
    }
    const std::optional<GridColumn> column = GridColumnAt(index.column());
    return column ? SjisToQString(grid_.Cell(*column, index.row())) : QVariant();
}

QVariant ScheduleTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const std::optional<GridColumn> column = GridColumnAt(section);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !column) {
        return QVariant();
    }
    return SjisToQString(ColumnOf(*column).heading);
}

}  // namespace koyomi

// The schedule table's rows for the view: a copy of the list's grid taken at each build, cells
// kept as code page 932 and turned into text only when the view asks. The column headings are
// the view's horizontal header; grid row r is table row r.
#pragma once

#include <QAbstractTableModel>

#include "schedule/schedule_grid.h"

namespace koyomi {

class ScheduleTableModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // Takes the rows of a newly built list; the view sees one reset.
    void ShowGrid(const ScheduleGrid& grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    ScheduleGrid grid_;
};

}  // namespace koyomi

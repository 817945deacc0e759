// The schedule table's model: the column headings as the header, the grid's rows as table
// rows, cells turned from code page 932 into text, and one reset for each list shown.
#include <QSignalSpy>
#include <QtTest>

#include "app/qt/schedule_table_model.h"
#include "support/sjis_text.h"

using namespace koyomi;

class ScheduleTableModelTest : public QObject {
    Q_OBJECT

  private slots:
    void EmptyGridHasHeadingsAndNoRows() {
        ScheduleTableModel model;
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), kScheduleColumnCount);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("No."));
        QCOMPARE(model.headerData(6, Qt::Horizontal).toString(), QStringLiteral("ｸﾞﾚｰﾄﾞ"));
        QCOMPARE(model.headerData(13, Qt::Horizontal).toString(), QStringLiteral("レース名"));
        QVERIFY(!model.headerData(14, Qt::Horizontal).isValid());
        QVERIFY(!model.headerData(-1, Qt::Horizontal).isValid());
    }

    void ShownRowsAreReadAsTextAfterOneReset() {
        ScheduleTableModel model;
        ScheduleGrid grid;
        for (int row = 1; row <= 3; ++row) {
            ScheduleRow cells;
            cells[GridColumn::Number] = std::to_string(row);
            cells[GridColumn::RaceName] = Utf8ToSjis("天皇賞（春）") + std::to_string(row);
            grid.AppendRow(cells);
        }
        QSignalSpy about(&model, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.ShowGrid(grid);
        QCOMPARE(about.count(), 1);
        QCOMPARE(reset.count(), 1);

        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("1"));
        QCOMPARE(model.index(2, 13).data().toString(), QStringLiteral("天皇賞（春）3"));
        QCOMPARE(model.index(1, 5).data().toString(), QString());
        // Only text: the painter decides colours and alignment.
        QVERIFY(!model.index(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(!model.index(0, 0).data(Qt::TextAlignmentRole).isValid());
        QVERIFY(!model.index(3, 0).isValid());
        QVERIFY(!model.flags(model.index(0, 0)).testFlag(Qt::ItemIsEditable));

        // A later build replaces the rows; the copy does not follow the grid it came from.
        grid.Clear();
        QCOMPARE(model.rowCount(), 3);
        model.ShowGrid(grid);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("年月日"));
    }
};

QTEST_MAIN(ScheduleTableModelTest)
#include "schedule_table_model_test.moc"

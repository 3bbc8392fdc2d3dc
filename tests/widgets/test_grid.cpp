// The grid control behind the board and the lists.
#include "support/TestMain.h"
#include "support/TalkFixture.h"
#include "widgets/FlexGrid.h"

#include <QApplication>
#include <QTest>

using namespace kel;

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        grid = new FlexGrid(map, FlexGrid::RowHeights::FromFont);
        grid->resize(400, 300);
        grid->setRows(4);
        grid->setCols(3);
        for (int c = 0; c < 3; ++c)
            grid->setColWidth(c, 1500);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 3; ++c)
                grid->setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        grid->show();
        QCoreApplication::processEvents();
    }

    void cleanup() { delete grid; }

    // A touch below the last row is no touch: no handler runs and the grid
    // names no row. (That the touched cell is current when the handlers run,
    // and that a touch while input is blocked is dropped: test_boardtouch.)
    void touchBelowTheLastRow()
    {
        int handled = 0;
        connect(grid, &FlexGrid::pressed, this, [&] { ++handled; });
        connect(grid, &FlexGrid::clicked, this, [&] { ++handled; });
        click(grid->viewport(), QPoint(10, grid->cellRect(3, 0).bottom() + 20));
        QCOMPARE(handled, 0);
        QCOMPARE(grid->MouseRow(), -1);
    }

    void manyRowsAllReachable()
    {
        // Past the 32,767 rows a 16-bit grid could hold; the time it takes
        // is bench_limits'.
        constexpr int kRows = 40000;
        grid->setRedraw(false);
        grid->setRows(kRows);
        for (int r = 0; r < kRows; ++r)
            grid->setTextMatrix(r, 1, QString::number(r));
        grid->setRedraw(true);
        grid->setTopRow(kRows - 10);
        QCoreApplication::processEvents();
        QVERIFY(grid->TopRow() > 32768);
        QCOMPARE(grid->TextMatrix(kRows - 1, 1), QString::number(kRows - 1));
    }

private:
    TwipsMap map;
    FlexGrid *grid = nullptr;
};

KEL_TEST(test_grid, TestGrid)
#include "test_grid.moc"

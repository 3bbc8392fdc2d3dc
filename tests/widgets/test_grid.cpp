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

    // A touch at a cell ("row,col", "blocked" while input is blocked at the
    // press) or below the last row: what the handlers see at the press and at
    // the release ("|" between them), and the row the grid names.
    void touches_data()
    {
        QTest::addColumn<QString>("touch");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<int>("mouseRow");
        QTest::newRow("the cell is current before the handlers run")
            << "2,1" << "pressed 2,1|clicked 2,1" << 2;
        // The release arrives after the block ended: without its press it is no touch.
        QTest::newRow("blocked input drops the whole touch") << "0,0 blocked" << "|" << -1;
        QTest::newRow("below the last row") << "below" << "|" << -1;
    }

    void touches()
    {
        QFETCH(QString, touch);
        QString seen;
        connect(grid, &FlexGrid::pressed, this, [&] { seen += "pressed " + grid->Text(); });
        connect(grid, &FlexGrid::clicked, this, [&] { seen += "clicked " + grid->Text(); });
        const QPoint at = touch == u"below" ? QPoint(10, grid->cellRect(3, 0).bottom() + 20)
                                            : grid->cellRect(touch[0].digitValue(), touch[2].digitValue()).center();
        grid->setInputBlocked(touch.endsWith(u"blocked"));
        press(grid->viewport(), at);
        grid->setInputBlocked(false);
        seen += u'|';
        release(grid->viewport(), at);
        QTEST(seen, "seen");
        QTEST(grid->MouseRow(), "mouseRow");
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

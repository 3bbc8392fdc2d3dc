// Touching the board and the enlarged screen under each touch rule, with
// what is voiced (and the pause it takes), what is entered and what the
// cells look like; the board's cells in each mode and width; and the grid
// control behind the board and the lists.
#include "support/TestMain.h"
#include "support/TalkFixture.h"
#include "widgets/FitText.h"

#include <QFrame>
#include <QSignalSpy>

using namespace kel;

namespace {

// A row of cells, "·" for an empty one.
QString rowOf(FlexGrid *g, int r, QStringView sep = {})
{
    QStringList cells;
    for (int c = 0; c < g->Cols(); ++c)
        cells << (g->TextMatrix(r, c).isEmpty() ? QStringLiteral("·") : g->TextMatrix(r, c));
    return cells.join(sep);
}

// The cells that are not white, on the board and ("z") the enlarged grid
// while it shows: "0,9 green, z0,0 silver".
QString colours(TalkFixture &fx)
{
    const std::map<QRgb, QString> names{{qRgb(128, 255, 128), "green"}, {qRgb(192, 192, 192), "silver"},
                                        {qRgb(58, 110, 165), "desktop"}};
    QStringList out;
    for (auto [g, z] : {std::pair{fx.ui().grdBoard, ""}, {fx.ui().grdBoard2, "z"}})
        for (int r = 0; g->isVisible() && r < g->Rows(); ++r)
            for (int c = 0; c < g->Cols(); ++c)
                if (const QRgb rgb = g->cellBackColor(r, c).rgb(); rgb != qRgb(255, 255, 255))
                    out << QStringLiteral("%1%2,%3 %4").arg(z).arg(r).arg(c).arg(names.contains(rgb) ? names.at(rgb) : "?");
    return out.join(u", ");
}

// Plays a touch script: "r,c" touches the board, "zr,c" the enlarged grid,
// "K" and "L" switch the board to katakana and letters, "S" touches
// "スペース", "pr,c" touches the board 0.2 s into the next touch, "=r,c" the
// enlarged grid where board cell r,c lies under it, "w" lets 0.3 s pass; a
// touch after "v" notes colours() while the finger is down.
// Returns the notes.
QString play(TalkFixture &fx, const QString &script)
{
    QStringList notes;
    for (QString step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u"w") {
            fx.clock.sleepFor(std::chrono::milliseconds(300));
            continue;
        }
        if (step == u"K" || step == u"L" || step == u"S") {
            for (int i = step == u"L" ? 2 : 1; i > 0; --i)
                TalkFixture::click(step == u"S" ? fx.ui().cmdspace : fx.ui().cmdKey);
            continue;
        }
        const bool note = step.startsWith(u'v');
        step.remove(0, note ? 1 : 0);
        const bool enlarged = step.startsWith(u'z'), posted = step.startsWith(u'p'), again = step.startsWith(u'=');
        const QStringList rc = step.mid(enlarged || posted || again ? 1 : 0).split(u',');
        FlexGrid *g = enlarged ? fx.ui().grdBoard2 : fx.ui().grdBoard;
        if (again) {
            // The finger on the board cell's spot, on whatever shows there now.
            QWidget *on = fx.ui().grdBoard2->viewport();
            const QPoint at = on->mapFromGlobal(g->viewport()->mapToGlobal(g->cellRect(rc[0].toInt(), rc[1].toInt()).center()));
            TalkFixture::click(on, at);
            settle();
            continue;
        }
        if (posted) {
            fx.clock.after(0.2, [g, at = g->cellRect(rc[0].toInt(), rc[1].toInt()).center()] {
                postClick(g->viewport(), at);
            });
            continue;
        }
        pressCell(g, rc[0].toInt(), rc[1].toInt());
        if (note)
            notes << colours(fx);
        releaseCell(g, rc[0].toInt(), rc[1].toInt());
        settle();
    }
    return notes.join(u" / ");
}

} // namespace

class TestBoardTouch : public QObject {
    Q_OBJECT
private slots:
    void touches_data();
    void touches();
    void everyCellWholeAndInReach_data();
    void everyCellWholeAndInReach();
    void gridAlone();
};

void TestBoardTouch::touches_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("text");      // as marked()
    QTest::addColumn<QString>("voiced");
    QTest::addColumn<QString>("enlarged"); // its cells, row by row; none: closed
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("pressed");   // colours() at each "v" touch
    // Row 0 of the hiragana board: わ(0) ら(1) や(2) ... か(8) あ(9).
    const QString closed;
    QTest::newRow("rule 0: つ opens") << "" << "2,6" << "|" << "" << "に ち ぢ | っ つ づ | ね て で" << 0 << "";
    QTest::newRow("rule 0: ほ opens") << "" << "4,4" << "|" << "" << "ぺ へ べ | ぽ ほ ぼ | · · ·" << 0 << "";
    QTest::newRow("rule 0: よ opens") << "" << "2,2" << "|" << "" << "り ゆ ゅ | る よ ょ | れ ー め" << 0 << "";
    QTest::newRow("rule 0: ツ opens") << "" << "K 2,6" << "|" << "" << "ニ チ ヂ | ッ ツ ヅ | ネ テ デ" << 0 << "";
    QTest::newRow("rule 0: A opens") << "" << "L 2,0" << "|" << "" << "· Q q | · A a | · / Z" << 0 << "";
    QTest::newRow("rule 0: な on 15 columns opens")
        << "gMaxC=14" << "0,10" << "|" << "" << "· · · | は な · | ひ に ·" << 0 << "";
    // く twice on one spot: the second touch, 0.5 s after the first, lands
    // on ぐ of the enlarged screen that appeared under the finger just then.
    QTest::newRow("rule 0: a touch as the enlarged screen appears is not taken")
        << "" << "2,8 =2,8" << "|" << "く" << "し き ぎ | す く ぐ | せ け げ" << 0 << "";
    QTest::newRow("rule 0: 0.3 s later it is") << "" << "2,8 w =2,8" << "ぐ[_]" << "く ぐ" << closed << 0 << "";
    QTest::newRow("rule 2: an empty cell enters U+3000")
        << "OPT1=2 gMaxC=14" << "L 1,12" << "　[_]" << "　" << closed << 0 << "";
    // A touch while a voice pauses the program is not taken afterwards.
    QTest::newRow("rule 2: a touch during the voice pause is dropped")
        << "OPT1=2" << "p1,9 0,9" << "あ[_]" << "あ" << closed << 0 << "";
    QTest::newRow("rule 3: the second あ enters, a third again")
        << "OPT1=3" << "0,9 0,9 0,9" << "ああ[_]" << "あ あ あ" << closed << 0 << "";
    QTest::newRow("rule 3: あ か か enters か only") << "OPT1=3" << "0,9 0,8 0,8" << "か[_]" << "あ か か" << closed << 0 << "";
    QTest::newRow("rule 3: 。 counts across modes") << "OPT1=3" << "3,0 L 4,6" << "。[_]" << "。 。" << closed << 0 << "";
    for (const char *rule : {"1", "3"})
        QTest::addRow("rule %s: an empty cell is never taken", rule) << "OPT1=" + QString(rule) + " gMaxC=14" << "L 0,13 0,13 0,13" << "|" << "　 　 　" << closed << 0 << "";
    // A rule no choice stands for reads as the default, rule 0 (か opens, が
    // is entered there): the board never goes dead.
    for (const char *rule : {"-1", "4", "7"})
        QTest::addRow("rule %s reads as rule 0: か opens, が entered there", rule)
            << "OPT1=" + QString(rule) << "0,8 z1,2" << "が[_]" << "か が" << closed << 0 << "";
    // A first touch of か (named), a second (opens), が on the enlarged grid
    // (entered): the voice option decides which of them speak.
    for (const auto &[opt3, voiced] : {std::pair{"0", "か か が"}, {"1", "か が"}, {"2", "が"}, {"3", ""}, {"7", "か か が"}})
        QTest::addRow("voice %s", opt3) << "OPT1=1 OPT3=" + QString(opt3) << "0,8 0,8 z1,2" << "が[_]" << voiced << closed << 0 << "";
    QTest::newRow("enlarged rule 1: named, entered, then taken at once")
        << "OPT2=1" << "0,8 z1,2 z1,2 0,8 z1,2" << "がが[_]" << "か が が か が" << closed << 0 << "";
    for (auto [beep, beeps] : {std::pair{"1", 3}, {"01", 0}})
        QTest::addRow("Beep %s: a beep on every release, first touches too, or none", beep)
            << "OPT1=3 Beep=" + QString(beep) << "0,9 0,9 0,8" << "あ[_]" << "あ あ か" << closed << beeps << "";
    // A finger down shows green, or silver on a second touch of the same
    // text; the earlier cell is repainted. An opened cell turns the desktop
    // colour; in the enlarged grid "" equals the untouched text, so an empty
    // cell presses silver, and only beeps. "スペース" is inert.
    QTest::newRow("colours under rule 3") << "OPT1=3" << "v0,9 v1,9 v1,9" << "い[_]" << "あ" << closed << 0
                                          << "0,9 green / 1,9 green / 1,9 silver";
    QTest::newRow("colours under rule 0") << "Beep=1" << "0,9 vz0,0 S" << "|" << "あ" << "· · · | か あ ぁ | き い ぃ" << 2
                                          << "0,9 desktop, z0,0 silver";
}

void TestBoardTouch::touches()
{
    QFETCH(QString, stored);
    QFETCH(QString, script);
    QFETCH(QString, enlarged);
    // Suggestions off: they would cover the board after a first entry.
    std::map<QString, QString> options{{"Samp", "0"}};
    for (const QString &kv : stored.split(u' ', Qt::SkipEmptyParts))
        options[kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    TalkFixture fx(options);
    fx.addVoices({"あ", "か", "が", "く", "ぐ", "。", "　"});
    const double start = fx.clock.seconds();
    QTEST(play(fx, script), "pressed");
    // Each voiced touch pauses the program half a second, a silenced one not at all.
    if (stored.contains(u"OPT3"))
        QCOMPARE(int((fx.clock.seconds() - start) / 0.5), int(fx.voiced().size()));
    QTEST(fx.marked(), "text");
    QTEST(fx.voiced().join(u' '), "voiced");
    QTEST(fx.platform.beeps, "beeps");
    const Controls &u = fx.ui();
    const auto row = [g = u.grdBoard2](int r) { return rowOf(g, r, u" "); };
    QCOMPARE(u.fraSet->isVisible() ? row(0) + " | " + row(1) + " | " + row(2) : QString(), enlarged);
    if (!u.fraSet->isVisible()) {
        QVERIFY(fx.box()->hasFocus());
        return;
    }
    QCOMPARE(u.fraSet->geometry().topLeft(), u.grdBoard->geometry().topLeft());
    QCOMPARE(u.grdBoard2->ColWidth(2), 3950);
    QCOMPARE(u.grdBoard2->cellBackColor(1, 1), QColor(Qt::white));
}

void TestBoardTouch::everyCellWholeAndInReach_data()
{
    QTest::addColumn<QString>("maxC");
    QTest::addColumn<int>("modeTouches"); // of "英数": 0 hiragana, 1 katakana, 2 letters
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("cells");   // of that row; "·": empty
    QTest::newRow("hiragana, 10 columns") << "9" << 0 << 0 << "わらやまはなたさかあ";
    QTest::newRow("hiragana, 15 columns") << "14" << 0 << 4 << "ぽぼどぞご、ろ？もほのとそこお";
    QTest::newRow("katakana, 10 columns") << "9" << 1 << 3 << "。レーメヘネテセケエ";
    QTest::newRow("katakana, 15 columns") << "14" << 1 << 1 << "ピビヂジギヲリユミヒニチシキイ";
    QTest::newRow("letters, 10 columns") << "9" << 2 << 4 << ":%+-?@。!(^_^)(T_T)";
    QTest::newRow("letters, 15 columns: 10..14 empty") << "14" << 2 << 1 << "QWERTYUIOP·····";
}

void TestBoardTouch::everyCellWholeAndInReach()
{
    QFETCH(QString, maxC);
    QFETCH(int, modeTouches);
    QFETCH(int, row);
    TalkFixture fx({{"gMaxC", maxC}});
    for (int i = 0; i < modeTouches; ++i)
        TalkFixture::click(fx.ui().cmdKey);
    FlexGrid *g = fx.ui().grdBoard;
    QTEST(rowOf(g, row), "cells");
    QCOMPARE(g->ColWidth(0), maxC == u"9" ? 1180 : 773);
    // Cells draw their text whole, in a smaller font where it does not fit.
    QVERIFY(dynamic_cast<FitTextDelegate *>(g->itemDelegate()));
    for (int r = 0; r < g->Rows(); ++r) {
        for (int c = 0; c < g->Cols(); ++c) {
            const QRect cell = g->cellRect(r, c);
            QVERIFY(g->viewport()->rect().contains(cell.center()));
            const QString text = g->TextMatrix(r, c);
            const QSize room = FitTextDelegate::textRoom(g, cell);
            const QFont f = fittedFont(g->font(), text, room);
            QVERIFY2(QFontMetrics(f).horizontalAdvance(text) <= room.width() && f.pixelSize() >= 12,
                     qPrintable(QStringLiteral("%1 in %2 px").arg(text).arg(f.pixelSize())));
        }
    }
}

// The grid behind the board and the lists, on its own: a touch below the
// last row is no touch (no handler runs, no row is named), and rows past
// the 32,767 a 16-bit grid could hold are all there (the time it takes is
// bench_limits'). (That the touched cell is current when the handlers run,
// and that a press while input is blocked is dropped: touches.)
void TestBoardTouch::gridAlone()
{
    const TwipsMap map;
    FlexGrid grid(map, FlexGrid::RowHeights::FromFont);
    grid.resize(400, 300);
    grid.setCols(3);
    grid.setRows(4);
    grid.show();
    QCoreApplication::processEvents();
    QSignalSpy pressed(&grid, &FlexGrid::pressed), clicked(&grid, &FlexGrid::clicked);
    click(grid.viewport(), QPoint(10, grid.cellRect(3, 0).bottom() + 20));
    QCOMPARE(pressed.count() + clicked.count(), 0);
    QCOMPARE(grid.MouseRow(), -1);
    // A finger lifted while a handler holds the grid (the voice pause of
    // its press) clicks nothing.
    pressCell(&grid, 1, 1);
    grid.setInputBlocked(true);
    releaseCell(&grid, 1, 1);
    grid.setInputBlocked(false);
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(clicked.count(), 0);

    constexpr int kRows = 40000;
    grid.setRedraw(false);
    grid.setRows(kRows);
    for (int r = 0; r < kRows; ++r)
        grid.setTextMatrix(r, 1, QString::number(r));
    grid.setRedraw(true);
    grid.setTopRow(kRows - 10);
    QCoreApplication::processEvents();
    QVERIFY(grid.TopRow() > 32768);
    QCOMPARE(grid.TextMatrix(kRows - 1, 1), QString::number(kRows - 1));
}

KEL_TEST(test_boardtouch, TestBoardTouch)
#include "test_boardtouch.moc"

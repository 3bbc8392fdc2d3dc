// "△", "▽", a touch on a row and "決定" on the lists, through the real
// buttons and grid cells: the highlight and the scrolling while a button is
// held, a suggestion taking the place of its key, and an example sentence
// inserted at the caret.

#include "app/AnsiText.h"
#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QFrame>

using namespace kel;

namespace {

const QColor kGreen(128, 255, 128);

// Talk.txt holding the placeholder and `sentences`.
std::map<QString, QByteArray> talkFile(const QStringList &sentences)
{
    QByteArray bytes = encodeRecord(kPlaceholder).value();
    for (const QString &s : sentences)
        bytes += encodeRecord(s).value();
    return {{QStringLiteral("Talk.txt"), bytes}};
}

// `count` sentences "<prefix>00", "<prefix>01", ... in list order.
QStringList numbered(const QString &prefix, int count)
{
    QStringList s;
    for (int i = 0; i < count; ++i)
        s << prefix + QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return s;
}

// Leaves `typed` at the end of the text as typing leaves it: all but its last
// character set with the block on the marker, the last one entered with a
// touch on the board ("OPT1" = "2"), written into the touched cell first.
void typeAtEnd(TalkFixture &f, const QString &typed)
{
    f.setText(typed.chopped(1) + u'_', typed.size() - 1, 1);
    f.ui().grdBoard->setTextMatrix(0, 0, typed.right(1));
    f.touchCell(f.ui().grdBoard, 0, 0);
    f.settle();
}

// Holds `button` and lets go after `seconds`. A hold that stops by itself at
// the end of the list returns before the release; the clock is then run on,
// so that the scheduled release arrives all the same.
void hold(TalkFixture &f, ColorButton *button, double seconds)
{
    f.clock.after(seconds, [button] { postRelease(button); });
    f.press(button);
    if (f.st().ButtonHeld)
        f.clock.sleepFor(std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds)));
    f.settle();
}

// Rows of `g` whose cell in `col` is green.
QList<int> greenRows(const FlexGrid *g, int col)
{
    QList<int> rows;
    for (int r = 0; r < g->Rows(); ++r)
        if (g->cellBackColor(r, col) == kGreen)
            rows << r;
    return rows;
}

} // namespace

class TestListNav : public QObject {
    Q_OBJECT

private slots:
    void suggestionReplacesKey_data();
    void suggestionReplacesKey();
    void holdingDownScrollsUnderThirdRow_data();
    void holdingDownScrollsUnderThirdRow();
    void holdingUpInSuggestionsStopsScrollAtRowOne();
    void touchMovesOnlyTheHighlight();
    void exampleSentenceGoesInAtCaret();
};

void TestListNav::suggestionReplacesKey_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("after");
    // "Sample" is 2: the key is the last two typed characters, or all of
    // them when fewer were typed.
    QTest::newRow("key after other text") << "わたしはあり" << 1 << "わたしはありがとう[_]";
    QTest::newRow("key is the whole text") << "あり" << 1 << "ありがとう[_]";
    QTest::newRow("one character typed") << "お" << 1 << "おはよう[_]";
    QTest::newRow("row 0, the key itself") << "わたしはあり" << 0 << "わたしはあり[_]";
}

void TestListNav::suggestionReplacesKey()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    QFETCH(QString, after);
    TalkFixture f({{"OPT1", "2"}}, talkFile({QStringLiteral("ありがとう"), QStringLiteral("おはよう")}));
    Controls &u = f.ui();
    typeAtEnd(f, typed);
    QVERIFY(u.grdSp->isVisible());
    if (row != 0)
        f.touchCell(u.grdSp, row, 0);

    f.click(u.cmdDec);
    f.settle();

    QCOMPARE(f.marked(), after);
    QVERIFY(!u.grdSp->isVisible() && !u.fraTalk->isVisible());
    QVERIFY(u.grdBoard->isVisible() && u.fraRes->isVisible());
}

void TestListNav::holdingDownScrollsUnderThirdRow_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    // A step at the press and one every 0.23 s while held.
    QTest::newRow("second row, no scroll yet") << 0.3 << 2 << 0;
    QTest::newRow("third visible row reached, list scrolls") << 0.5 << 3 << 1;
    QTest::newRow("highlight stays on the third visible row") << 1.0 << 5 << 3;
}

void TestListNav::holdingDownScrollsUnderThirdRow()
{
    QFETCH(double, seconds);
    QFETCH(int, row);
    QFETCH(int, top);
    TalkFixture f({}, talkFile(numbered(QStringLiteral("あ"), 60)));
    FlexGrid *ex = f.ui().grdEx;
    f.click(f.ui().cmdSamp);

    hold(f, f.ui().cmdDown, seconds);

    QCOMPARE(f.st().ListRow, row);
    QCOMPARE(ex->TopRow(), top);
    QCOMPARE(greenRows(ex, 1), QList<int>{row});
}

void TestListNav::holdingUpInSuggestionsStopsScrollAtRowOne()
{
    TalkFixture f({{"OPT1", "2"}}, talkFile(numbered(QStringLiteral("あり"), 40)));
    FlexGrid *sp = f.ui().grdSp;
    typeAtEnd(f, QStringLiteral("あり"));
    QCOMPARE(sp->Rows(), 41);
    hold(f, f.ui().cmdDown, 4.5);
    QCOMPARE(sp->TopRow(), 18);

    hold(f, f.ui().cmdUp, 10.0);

    // The highlight goes on up to the key row while the list keeps it out of sight.
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(sp->TopRow(), 1);
    QCOMPARE(greenRows(sp, 0), QList<int>{0});
}

void TestListNav::touchMovesOnlyTheHighlight()
{
    TalkFixture f({}, talkFile(numbered(QStringLiteral("あ"), 30)));
    FlexGrid *ex = f.ui().grdEx;
    f.click(f.ui().cmdSamp);
    f.setText(QStringLiteral("あい_"), 1, 1);

    f.touchCell(ex, 4, 1);
    f.settle();

    QCOMPARE(f.st().ListRow, 4);
    QCOMPARE(greenRows(ex, 1), QList<int>{4});
    QCOMPARE(ex->TopRow(), 0);
    // Nothing was taken: the list and the text are as they were.
    QVERIFY(ex->isVisible());
    QCOMPARE(f.marked(), QStringLiteral("あ[い]_"));
}

void TestListNav::exampleSentenceGoesInAtCaret()
{
    TalkFixture f({}, talkFile({QStringLiteral("おはよう")}));
    Controls &u = f.ui();
    f.click(u.cmdSamp);
    f.setText(QStringLiteral("あい_"), 1, 1);
    f.touchCell(u.grdEx, 1, 1);

    f.click(u.cmdDec);
    f.settle();

    QCOMPARE(f.marked(), QStringLiteral("あおはよう[い]_"));
    QVERIFY(u.grdBoard->isVisible());
    QVERIFY(!u.grdEx->isVisible());
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
}

QTEST_MAIN(TestListNav)
#include "test_listnav.moc"

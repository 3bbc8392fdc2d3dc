// "△", "▽", a touch on a row and "決定" on the three lists, through the real
// buttons and grid cells: the highlight and the scrolling while a button is
// held, the suggestion's caret arithmetic, an example sentence inserted at
// the caret, and the screen each decision leaves.

#include "app/AnsiText.h"
#include "board/BoardLayout.h"
#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QFrame>

using namespace kel;

namespace {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);

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

// Types hiragana by touching board cells; with "OPT1" = "2" a touch enters
// its character at once.
void type(TalkFixture &f, const QString &kana)
{
    for (const QChar ch : kana) {
        bool found = false;
        for (int r = 0; r < kBoardRows && !found; ++r) {
            for (int c = 0; c <= f.st().MaxC && !found; ++c) {
                if (boardCellText(BoardMode::Hiragana, f.st().MaxC, r, c) == QString(ch)) {
                    f.touchCell(f.ui().grdBoard, r, c);
                    f.settle();
                    found = true;
                }
            }
        }
        QVERIFY2(found, qPrintable(QStringLiteral("no board cell for ") + ch));
    }
}

struct Hold {
    double secondsHeld;     // until the press handler returned
    QColor colourWhileHeld; // the button, just before its release
};

// Holds `button` and lets go after `seconds`. A hold loop that stops by
// itself at the first or last row returns before the release; the clock is
// then run on, so that the scheduled release is delivered all the same.
Hold hold(TalkFixture &f, ColorButton *button, double seconds)
{
    Hold h;
    f.clock.after(seconds, [&h, button] {
        h.colourWhileHeld = button->backColor();
        postRelease(button);
    });
    const double start = f.clock.seconds();
    f.press(button);
    h.secondsHeld = f.clock.seconds() - start;
    if (f.st().ButtonHeld)
        f.clock.sleepFor(std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds)));
    f.settle();
    return h;
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
    void heldButtonColours_data();
    void heldButtonColours();
    void holdingDownScrollsUnderThirdRow_data();
    void holdingDownScrollsUnderThirdRow();
    void holdingDownStopsAtLastRow();
    void holdingUpInSuggestionsStopsScrollAtRowOne();
    void touchMovesOnlyTheHighlight_data();
    void touchMovesOnlyTheHighlight();
    void touchBelowLastRowChangesNothing();

    void suggestionReplacesKey_data();
    void suggestionReplacesKey();
    void exampleSentenceGoesInAtCaret_data();
    void exampleSentenceGoesInAtCaret();
};

void TestListNav::heldButtonColours_data()
{
    QTest::addColumn<bool>("up");
    QTest::addColumn<QColor>("pressed");
    QTest::addColumn<QColor>("released");
    QTest::newRow("△") << true << QColor(0, 192, 0) << QColor(192, 255, 192);
    QTest::newRow("▽") << false << QColor(0, 128, 0) << QColor(128, 255, 128);
}

void TestListNav::heldButtonColours()
{
    QFETCH(bool, up);
    QFETCH(QColor, pressed);
    QFETCH(QColor, released);
    // No list shows: the loop only waits, and still ends at the release.
    TalkFixture f;
    ColorButton *button = up ? f.ui().cmdUp : f.ui().cmdDown;
    f.ui().fraTalk->show();

    const Hold h = hold(f, button, 0.5);

    QCOMPARE(h.colourWhileHeld, pressed);
    QCOMPARE(button->backColor(), released);
    QVERIFY(!f.st().ButtonHeld);
    QVERIFY(h.secondsHeld > 0.5);
    QVERIFY(h.secondsHeld < 0.5 + 0.23 + 0.01);
    QVERIFY(f.box()->hasFocus());
}

void TestListNav::holdingDownScrollsUnderThirdRow_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("top");
    // A step at the press and one every 0.23 s while held.
    QTest::newRow("one step at the press") << 0.1 << 1 << 0;
    QTest::newRow("second row, no scroll yet") << 0.3 << 2 << 0;
    QTest::newRow("third visible row reached, list scrolls") << 0.5 << 3 << 1;
    QTest::newRow("highlight stays on the third visible row") << 1.0 << 5 << 3;
    QTest::newRow("long hold") << 4.5 << 20 << 18;
}

void TestListNav::holdingDownScrollsUnderThirdRow()
{
    QFETCH(double, seconds);
    QFETCH(int, row);
    QFETCH(int, top);
    TalkFixture f({}, talkFile(numbered(QStringLiteral("あ"), 60)));
    FlexGrid *ex = f.ui().grdEx;
    f.click(f.ui().cmdSamp);
    QCOMPARE(ex->Rows(), 61);

    hold(f, f.ui().cmdDown, seconds);

    QCOMPARE(f.st().ListRow, row);
    QCOMPARE(ex->TopRow(), top);
    QCOMPARE(greenRows(ex, 1), QList<int>{row});
    QCOMPARE(greenRows(ex, 0), QList<int>{}); // the label column is not highlighted
    QCOMPARE(ex->Row(), row);
    QVERIFY(ex->isVisible());
}

void TestListNav::holdingDownStopsAtLastRow()
{
    TalkFixture f({}, talkFile({QStringLiteral("あa"), QStringLiteral("あb")}));
    f.click(f.ui().cmdSamp);

    const Hold h = hold(f, f.ui().cmdDown, 5.0);

    QCOMPARE(f.st().ListRow, 2);
    QCOMPARE(greenRows(f.ui().grdEx, 1), QList<int>{2});
    // Two steps and the third finding the last row: the loop ends there.
    QVERIFY(h.secondsHeld < 0.47);
    QVERIFY(!f.st().ButtonHeld);
    QCOMPARE(f.ui().cmdDown->backColor(), QColor(128, 255, 128));
}

void TestListNav::holdingUpInSuggestionsStopsScrollAtRowOne()
{
    TalkFixture f({{"OPT1", "2"}}, talkFile(numbered(QStringLiteral("あり"), 40)));
    FlexGrid *sp = f.ui().grdSp;
    type(f, QStringLiteral("あり"));
    QVERIFY(sp->isVisible());
    QCOMPARE(sp->Rows(), 41);
    hold(f, f.ui().cmdDown, 4.5);
    QCOMPARE(f.st().ListRow, 20);
    QCOMPARE(sp->TopRow(), 18);

    hold(f, f.ui().cmdUp, 10.0);

    // The highlight goes on up to the key row while the list keeps it out of sight.
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(sp->TopRow(), 1);
    QCOMPARE(greenRows(sp, 0), QList<int>{0});
    QCOMPARE(f.ui().cmdUp->backColor(), QColor(192, 255, 192));
}

void TestListNav::touchMovesOnlyTheHighlight_data()
{
    QTest::addColumn<QString>("beep");
    QTest::addColumn<int>("beeps");
    QTest::newRow("beep on") << "1" << 1;
    QTest::newRow("beep off") << "0" << 0;
}

void TestListNav::touchMovesOnlyTheHighlight()
{
    QFETCH(QString, beep);
    QFETCH(int, beeps);
    TalkFixture f({{"Beep", beep}}, talkFile(numbered(QStringLiteral("あ"), 30)));
    FlexGrid *ex = f.ui().grdEx;
    f.click(f.ui().cmdSamp);
    f.setText(QStringLiteral("あい_"), 1, 1);
    const int beepsBefore = f.platform.beeps;

    f.touchCell(ex, 4, 1);
    f.settle();

    QCOMPARE(f.st().ListRow, 4);
    QCOMPARE(greenRows(ex, 1), QList<int>{4});
    QCOMPARE(ex->TopRow(), 0);
    QCOMPARE(f.platform.beeps - beepsBefore, beeps);
    // Nothing was taken: the list and the text are as they were.
    QVERIFY(ex->isVisible());
    QVERIFY(f.ui().fraTalk->isVisible());
    QCOMPARE(f.marked(), QStringLiteral("あ[い]_"));
    QVERIFY(f.box()->hasFocus());

    f.touchCell(ex, 2, 0); // the label cell of a row counts as the row
    QCOMPARE(f.st().ListRow, 2);
    QCOMPARE(greenRows(ex, 1), QList<int>{2});
}

void TestListNav::touchBelowLastRowChangesNothing()
{
    TalkFixture f({{"Beep", "1"}}, talkFile({QStringLiteral("あa"), QStringLiteral("あb")}));
    FlexGrid *ex = f.ui().grdEx;
    f.click(f.ui().cmdSamp);
    f.touchCell(ex, 1, 1);
    const int beepsBefore = f.platform.beeps;

    const QRect last = ex->cellRect(2, 1);
    const QPoint below(last.center().x(), last.bottom() + last.height());
    QVERIFY(below.y() < ex->viewport()->height());
    QTest::mousePress(ex->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseRelease(ex->viewport(), Qt::LeftButton, {}, below);

    QCOMPARE(f.st().ListRow, 1);
    QCOMPARE(greenRows(ex, 1), QList<int>{1});
    QCOMPARE(f.platform.beeps, beepsBefore);
}

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
    TalkFixture f({{"OPT1", "2"}},
                  talkFile({QStringLiteral("ありがとう"), QStringLiteral("おはよう")}));
    Controls &u = f.ui();
    type(f, typed);
    QCOMPARE(f.marked(), typed + QStringLiteral("[_]"));
    QVERIFY(u.grdSp->isVisible());
    if (row != 0)
        f.touchCell(u.grdSp, row, 0);

    f.click(u.cmdDec);
    f.settle();

    QCOMPARE(f.marked(), after);
    QVERIFY(!u.grdSp->isVisible());
    QVERIFY(u.grdBoard->isVisible());
    QVERIFY(u.fraRes->isVisible());
    QVERIFY(!u.fraTalk->isVisible());
    QVERIFY(u.frmTalk->isEnabled());
    QVERIFY(f.box()->hasFocus());
}

void TestListNav::exampleSentenceGoesInAtCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("after");
    QTest::newRow("caret at the start") << "あい_" << 0 << "おはよう[あ]い_";
    QTest::newRow("caret in the middle") << "あい_" << 1 << "あおはよう[い]_";
    QTest::newRow("caret before the marker") << "あい_" << 2 << "あいおはよう[_]";
    QTest::newRow("empty text") << "" << 0 << "おはよう|";
}

void TestListNav::exampleSentenceGoesInAtCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, after);
    TalkFixture f({}, talkFile({QStringLiteral("おはよう")}));
    Controls &u = f.ui();
    f.click(u.cmdSamp);
    f.setText(text, caret, text.isEmpty() ? 0 : 1);
    f.touchCell(u.grdEx, 1, 1);

    f.click(u.cmdDec);
    f.settle();

    QCOMPARE(f.marked(), after);
    QCOMPARE(f.st().CellText, QStringLiteral("おはよう"));
    QVERIFY(u.grdBoard->isVisible());
    QVERIFY(!u.grdEx->isVisible());
    QVERIFY(u.fraRes->isVisible());
    QVERIFY(!u.fraTalk->isVisible());
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
    QVERIFY(u.cmdSampADD->isVisible());
    QVERIFY(!u.cmdSampDel->isVisible());
    QVERIFY(u.frmTalk->isEnabled());
    QVERIFY(f.box()->hasFocus());
}

QTEST_MAIN(TestListNav)
#include "test_listnav.moc"

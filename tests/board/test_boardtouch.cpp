// Touching the board and the enlarged screen under each touch rule, with
// what is voiced, what is entered and what the cells look like.
#include "support/TalkFixture.h"

#include <QFrame>

using namespace kel;

namespace {

const QColor kLightGreen(128, 255, 128);
const QColor kSilver(192, 192, 192);
const QColor kWhite(255, 255, 255);

QStringList enlarged(FlexGrid *z)
{
    QStringList rows;
    for (int r = 0; r < 3; ++r) {
        QStringList cells;
        for (int c = 0; c < 3; ++c)
            cells << (z->TextMatrix(r, c).isEmpty() ? QStringLiteral("·") : z->TextMatrix(r, c));
        rows << cells.join(QLatin1Char(' '));
    }
    return rows;
}

// Switches the board to letters (two touches of the mode button).
void toLetters(TalkFixture &fx)
{
    TalkFixture::click(fx.ui().cmdKey);
    TalkFixture::click(fx.ui().cmdKey);
}

} // namespace

class TestBoardTouch : public QObject {
    Q_OBJECT
private slots:
    void enlargedScreenCells_data();
    void enlargedScreenCells();
    void defaultRuleOpensThenEnters();
    void oneTouchEntryOfEmptyCell();
    void twoTouchRules_data();
    void twoTouchRules();
    void twoTouchCountsAcrossModes();
    void emptyCellIsNeverTakenByTwoTouchRules();
    void pressColours();
    void beepOnEveryRelease();
    void enlargedTwoTouchKeepsBoard2Text();
    void enlargedEmptyCell();
    void voiceOptionFiltersModes();
    void touchDuringVoicePauseIsDropped();
};

void TestBoardTouch::enlargedScreenCells_data()
{
    QTest::addColumn<QString>("maxC");
    QTest::addColumn<bool>("letters");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("か") << "9" << false << 0 << 8 << QStringList{"· · ·", "さ か が", "し き ぎ"};
    QTest::newRow("つ") << "9" << false << 2 << 6 << QStringList{"に ち ぢ", "っ つ づ", "ね て で"};
    QTest::newRow("ほ") << "9" << false << 4 << 4 << QStringList{"ぺ へ べ", "ぽ ほ ぼ", "· · ·"};
    QTest::newRow("あ") << "9" << false << 0 << 9 << QStringList{"· · ·", "か あ ぁ", "き い ぃ"};
    QTest::newRow("A") << "9" << true << 2 << 0 << QStringList{"· Q q", "· A a", "· / Z"};
    QTest::newRow("な on 15 columns") << "14" << false << 0 << 10
                                     << QStringList{"· · ·", "は な ·", "ひ に ·"};
    QTest::newRow("か on 15 columns") << "14" << false << 0 << 13
                                     << QStringList{"· · ·", "さ か が", "し き ぎ"};
}

void TestBoardTouch::enlargedScreenCells()
{
    QFETCH(QString, maxC);
    QFETCH(bool, letters);
    QFETCH(int, row);
    QFETCH(int, col);
    TalkFixture fx({{"gMaxC", maxC}});
    if (letters)
        toLetters(fx);
    TalkFixture::touchCell(fx.ui().grdBoard, row, col);
    QVERIFY(fx.ui().fraSet->isVisible());
    QCOMPARE(fx.ui().fraSet->geometry().topLeft(), fx.ui().grdBoard->geometry().topLeft());
    QTEST(enlarged(fx.ui().grdBoard2), "expected");
    QCOMPARE(fx.ui().grdBoard2->ColWidth(2), 3950);
    QCOMPARE(fx.ui().grdBoard2->cellBackColor(1, 1), kWhite);
}

void TestBoardTouch::defaultRuleOpensThenEnters()
{
    TalkFixture fx;
    fx.addVoices({"か", "が"});
    FlexGrid *b = fx.ui().grdBoard;
    TalkFixture::pressCell(b, 0, 8);
    QCOMPARE(b->cellBackColor(0, 8), kLightGreen);
    TalkFixture::releaseCell(b, 0, 8);
    QCOMPARE(fx.voiced(), QStringList{"か"});
    QCOMPARE(b->cellBackColor(0, 8), QColor::fromRgb(0xff3a6ea5));
    TalkFixture::settle();
    QCOMPARE(fx.box()->text(), QString());   // nothing entered, no keystroke sent

    TalkFixture::touchCell(fx.ui().grdBoard2, 1, 2);   // が
    TalkFixture::settle();
    QVERIFY(!fx.ui().fraSet->isVisible());
    QCOMPARE(fx.voiced(), (QStringList{"か", "が"}));
    QCOMPARE(fx.marked(), QStringLiteral("が[_]"));
    QVERIFY(fx.box()->hasFocus());
}

void TestBoardTouch::oneTouchEntryOfEmptyCell()
{
    TalkFixture fx({{"OPT1", "2"}, {"gMaxC", "14"}});
    fx.addVoices({"　"});
    toLetters(fx);
    TalkFixture::touchCell(fx.ui().grdBoard, 1, 12);   // right of the letters: empty
    TalkFixture::settle();
    QCOMPARE(fx.marked(), QStringLiteral("　[_]"));
    QCOMPARE(fx.voiced(), QStringList{"　"});
}

void TestBoardTouch::twoTouchRules_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QList<int>>("columns");   // touches on row 0 of the hiragana board
    QTest::addColumn<QString>("expected");
    // Row 0: わ(0) ら(1) や(2) ... か(8) あ(9)
    QTest::newRow("rule 3: あ あ enters once") << "3" << QList<int>{9, 9} << "あ[_]";
    QTest::newRow("rule 3: third touch enters again") << "3" << QList<int>{9, 9, 9} << "ああ[_]";
    QTest::newRow("rule 3: あ か か enters か only") << "3" << QList<int>{9, 8, 8} << "か[_]";
    QTest::newRow("rule 3: single touch enters nothing") << "3" << QList<int>{9} << "";
    QTest::newRow("rule 1: second touch opens, no entry") << "1" << QList<int>{9, 9} << "";
    QTest::newRow("other rule: nothing") << "7" << QList<int>{9, 9, 9} << "";
}

void TestBoardTouch::twoTouchRules()
{
    QFETCH(QString, rule);
    QFETCH(QList<int>, columns);
    TalkFixture fx({{"OPT1", rule}});
    for (int c : columns) {
        TalkFixture::touchCell(fx.ui().grdBoard, 0, c);
        TalkFixture::settle();
    }
    QString shown = fx.marked();
    if (shown == QStringLiteral("|"))
        shown.clear();
    QTEST(shown, "expected");
    if (rule == QStringLiteral("1"))
        QVERIFY(fx.ui().fraSet->isVisible());
}

void TestBoardTouch::twoTouchCountsAcrossModes()
{
    TalkFixture fx({{"OPT1", "3"}});
    TalkFixture::touchCell(fx.ui().grdBoard, 3, 0);   // 。 on the hiragana board
    toLetters(fx);
    TalkFixture::touchCell(fx.ui().grdBoard, 4, 6);   // 。 on the letter board
    TalkFixture::settle();
    QCOMPARE(fx.marked(), QStringLiteral("。[_]"));
}

void TestBoardTouch::emptyCellIsNeverTakenByTwoTouchRules()
{
    for (const char *rule : {"1", "3"}) {
        TalkFixture fx({{"OPT1", rule}, {"gMaxC", "14"}});
        fx.addVoices({"　"});
        toLetters(fx);
        for (int i = 0; i < 3; ++i)
            TalkFixture::touchCell(fx.ui().grdBoard, 0, 13);
        TalkFixture::settle();
        QCOMPARE(fx.box()->text(), QString());
        QVERIFY(!fx.ui().fraSet->isVisible());
        QCOMPARE(fx.voiced(), (QStringList{"　", "　", "　"}));
    }
}

void TestBoardTouch::pressColours()
{
    TalkFixture fx({{"OPT1", "3"}});
    FlexGrid *b = fx.ui().grdBoard;
    TalkFixture::touchCell(b, 0, 9);                 // names あ
    TalkFixture::pressCell(b, 1, 9);                 // い: a different text
    QCOMPARE(b->cellBackColor(1, 9), kLightGreen);
    QCOMPARE(b->cellBackColor(0, 9), kWhite);        // the earlier cell is repainted
    TalkFixture::releaseCell(b, 1, 9);               // names い
    TalkFixture::pressCell(b, 1, 9);                 // the second touch shows silver
    QCOMPARE(b->cellBackColor(1, 9), kSilver);
    TalkFixture::releaseCell(b, 1, 9);
}

void TestBoardTouch::beepOnEveryRelease()
{
    TalkFixture fx({{"OPT1", "3"}, {"Beep", "1"}});
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 9);
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 9);
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8);
    QCOMPARE(fx.platform.beeps, 3);
}

void TestBoardTouch::enlargedTwoTouchKeepsBoard2Text()
{
    TalkFixture fx({{"OPT2", "1"}});
    FlexGrid *z = fx.ui().grdBoard2;
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8);   // か: opens the enlarged screen
    TalkFixture::touchCell(z, 1, 2);                  // が named
    QVERIFY(fx.ui().fraSet->isVisible());
    TalkFixture::pressCell(z, 1, 2);
    QCOMPARE(z->cellBackColor(1, 2), kSilver);
    TalkFixture::releaseCell(z, 1, 2);                // が entered
    TalkFixture::settle();
    QVERIFY(!fx.ui().fraSet->isVisible());
    QCOMPARE(fx.marked(), QStringLiteral("が[_]"));

    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8);   // open again: one touch on が enters
    TalkFixture::touchCell(z, 1, 2);
    TalkFixture::settle();
    QCOMPARE(fx.marked(), QStringLiteral("がが[_]"));
}

void TestBoardTouch::enlargedEmptyCell()
{
    TalkFixture fx({{"Beep", "1"}});
    FlexGrid *z = fx.ui().grdBoard2;
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8);   // か: the top row is empty
    const int beeps = fx.platform.beeps;
    TalkFixture::pressCell(z, 0, 0);
    QCOMPARE(z->cellBackColor(0, 0), kSilver);        // "" equals the untouched Board2Text
    TalkFixture::releaseCell(z, 0, 0);
    QCOMPARE(fx.platform.beeps, beeps + 1);
    QVERIFY(fx.ui().fraSet->isVisible());
    QCOMPARE(fx.box()->text(), QString());
    TalkFixture::click(fx.ui().cmdspace);             // inert
    QVERIFY(fx.ui().fraSet->isVisible());
}

void TestBoardTouch::voiceOptionFiltersModes()
{
    TalkFixture fx({{"OPT3", "2"}});
    fx.addVoices({"か", "が"});
    TalkFixture::touchCell(fx.ui().grdBoard, 0, 8);   // mode "S": not voiced under 2
    QCOMPARE(fx.voiced(), QStringList{});
    TalkFixture::touchCell(fx.ui().grdBoard2, 1, 2);  // mode "E": voiced
    QCOMPARE(fx.voiced(), QStringList{"が"});
}

void TestBoardTouch::touchDuringVoicePauseIsDropped()
{
    TalkFixture fx({{"OPT1", "2"}});
    FlexGrid *b = fx.ui().grdBoard;
    const QPoint other = b->cellRect(1, 9).center();   // い
    fx.clock.after(0.2, [&] {
        postPress(b->viewport(), other);
        postRelease(b->viewport(), other);
    });
    TalkFixture::touchCell(b, 0, 9);                  // あ, with its half-second voice pause
    TalkFixture::settle();
    QCOMPARE(fx.marked(), QStringLiteral("あ[_]"));
}

QTEST_MAIN(TestBoardTouch)
#include "test_boardtouch.moc"

// Touching the board and the enlarged screen under each touch rule, with
// what is voiced, what is entered and what the cells look like.
#include "support/TalkFixture.h"
#include "widgets/FitText.h"

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

// Plays a touch script: "r,c" touches the board, "zr,c" the enlarged grid,
// "L" switches the board to letters.
void play(TalkFixture &fx, const QString &script)
{
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        if (step == u"L") {
            toLetters(fx);
            continue;
        }
        const bool enlarged = step.startsWith(u'z');
        const QStringList rc = step.mid(enlarged ? 1 : 0).split(u',');
        TalkFixture::touchCell(enlarged ? fx.ui().grdBoard2 : fx.ui().grdBoard, rc[0].toInt(), rc[1].toInt());
        TalkFixture::settle();
    }
}

// "OPT1=3 Beep=1" as stored options.
std::map<QString, QString> options(const QString &text)
{
    std::map<QString, QString> out;
    for (const QString &kv : text.split(u' ', Qt::SkipEmptyParts))
        out[kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    return out;
}

} // namespace

class TestBoardTouch : public QObject {
    Q_OBJECT
private slots:
    void enlargedScreenCells_data();
    void enlargedScreenCells();
    void touches_data();
    void touches();
    void pressColours();
    void touchDuringVoicePauseIsDropped();
    void everyCellWholeAndInReach_data();
    void everyCellWholeAndInReach();
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

void TestBoardTouch::touches_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("text");      // as marked(); "" for nothing entered
    QTest::addColumn<QString>("voiced");
    QTest::addColumn<bool>("enlargedOpen");
    QTest::addColumn<int>("beeps");
    // Row 0 of the hiragana board: わ(0) ら(1) や(2) ... か(8) あ(9).
    QTest::newRow("rule 0: か opens, が entered there") << "" << "0,8 z1,2" << "が[_]" << "か が" << false << 0;
    QTest::newRow("rule 2: an empty cell enters U+3000")
        << "OPT1=2 gMaxC=14" << "L 1,12" << "　[_]" << "　" << false << 0;
    QTest::newRow("rule 3: あ あ enters once") << "OPT1=3" << "0,9 0,9" << "あ[_]" << "あ あ" << false << 0;
    QTest::newRow("rule 3: a third touch enters again")
        << "OPT1=3" << "0,9 0,9 0,9" << "ああ[_]" << "あ あ あ" << false << 0;
    QTest::newRow("rule 3: あ か か enters か only") << "OPT1=3" << "0,9 0,8 0,8" << "か[_]" << "あ か か" << false << 0;
    QTest::newRow("rule 3: 。 counts across modes") << "OPT1=3" << "3,0 L 4,6" << "。[_]" << "。 。" << false << 0;
    QTest::newRow("rule 3: an empty cell is never taken")
        << "OPT1=3 gMaxC=14" << "L 0,13 0,13 0,13" << "" << "　 　 　" << false << 0;
    QTest::newRow("rule 1: an empty cell is never taken")
        << "OPT1=1 gMaxC=14" << "L 0,13 0,13 0,13" << "" << "　 　 　" << false << 0;
    QTest::newRow("rule 1: the second touch opens") << "OPT1=1" << "0,9 0,9" << "" << "あ あ" << true << 0;
    QTest::newRow("another rule: nothing but the beep")
        << "OPT1=7 Beep=1" << "0,9 0,9" << "" << "" << false << 2;
    QTest::newRow("voice 2: only entries are voiced") << "OPT3=2" << "0,8 z1,2" << "が[_]" << "が" << false << 0;
    QTest::newRow("enlarged rule 1: named, entered, then taken at once")
        << "OPT2=1" << "0,8 z1,2 z1,2 0,8 z1,2" << "がが[_]" << "か が が か が" << false << 0;
    QTest::newRow("beep on every release, first touches too")
        << "OPT1=3 Beep=1" << "0,9 0,9 0,8" << "あ[_]" << "あ あ か" << false << 3;
    QTest::newRow("an empty enlarged cell only beeps") << "Beep=1" << "0,8 z0,0" << "" << "か" << true << 2;
}

void TestBoardTouch::touches()
{
    QFETCH(QString, stored);
    QFETCH(QString, script);
    // Suggestions off: they would cover the board after a first entry.
    TalkFixture fx(options("Samp=0 " + stored));
    fx.addVoices({"あ", "か", "が", "。", "　"});
    play(fx, script);
    QString text = fx.marked();
    if (text == u"|")
        text.clear();
    QTEST(text, "text");
    QTEST(fx.voiced().join(u' '), "voiced");
    QTEST(fx.ui().fraSet->isVisible(), "enlargedOpen");
    QTEST(fx.platform.beeps, "beeps");
    if (!fx.ui().fraSet->isVisible())
        QVERIFY(fx.box()->hasFocus());
}

void TestBoardTouch::pressColours()
{
    TalkFixture fx({{"OPT1", "3"}, {"Samp", "0"}});
    FlexGrid *b = fx.ui().grdBoard;
    TalkFixture::pressCell(b, 0, 9);
    QCOMPARE(b->cellBackColor(0, 9), kLightGreen);
    TalkFixture::releaseCell(b, 0, 9);               // names あ
    TalkFixture::pressCell(b, 1, 9);                 // い: a different text
    QCOMPARE(b->cellBackColor(1, 9), kLightGreen);
    QCOMPARE(b->cellBackColor(0, 9), kWhite);        // the earlier cell is repainted
    TalkFixture::releaseCell(b, 1, 9);               // names い
    TalkFixture::pressCell(b, 1, 9);                 // the second touch shows silver
    QCOMPARE(b->cellBackColor(1, 9), kSilver);
    TalkFixture::releaseCell(b, 1, 9);

    // Under rule 0 a touch opens the enlarged grid, where "" equals the
    // untouched Board2Text: an empty cell presses silver. "スペース" is inert.
    fx.st().Options[OPT1] = QStringLiteral("0");
    TalkFixture::touchCell(b, 0, 8);                 // opens: the cell turns the desktop colour
    QCOMPARE(b->cellBackColor(0, 8), QColor(58, 110, 165));
    TalkFixture::pressCell(fx.ui().grdBoard2, 0, 0);
    QCOMPARE(fx.ui().grdBoard2->cellBackColor(0, 0), kSilver);
    TalkFixture::releaseCell(fx.ui().grdBoard2, 0, 0);
    TalkFixture::click(fx.ui().cmdspace);
    QVERIFY(fx.ui().fraSet->isVisible());
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

void TestBoardTouch::everyCellWholeAndInReach_data()
{
    QTest::addColumn<QString>("maxC");
    QTest::addColumn<int>("modeTouches"); // of "英数": 0 hiragana, 1 katakana, 2 letters
    for (const char *maxC : {"9", "14"})
        for (int mode : {0, 1, 2})
            QTest::addRow("gMaxC %s, mode %d", maxC, mode) << QString::fromLatin1(maxC) << mode;
}

void TestBoardTouch::everyCellWholeAndInReach()
{
    QFETCH(QString, maxC);
    QFETCH(int, modeTouches);
    TalkFixture fx({{"gMaxC", maxC}});
    for (int i = 0; i < modeTouches; ++i)
        TalkFixture::click(fx.ui().cmdKey);
    FlexGrid *g = fx.ui().grdBoard;
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

QTEST_MAIN(TestBoardTouch)
#include "test_boardtouch.moc"

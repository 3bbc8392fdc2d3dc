// Picked text entering the composed text at the caret, and the sentences
// offered while typing at the end, through the real main window. A pick is
// made as the board makes it: the transfer slot, PutText, the suggestions,
// then Shift+Right when nothing is selected.

#include "app/TwipsLayout.h"
#include "compose/Composer.h"
#include "support/TalkFixture.h"

#include <QFrame>
#include <QLabel>

using namespace kel;

namespace {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);

void pick(TalkFixture &fx, const QString &c)
{
    fx.ui().txtHide->setText(c);
    fx.talk().compose->PutText();
    fx.talk().compose->OfferSuggestions(fx.box()->text());
    fx.box()->setFocus();
    if (fx.box()->selLength() == 0)
        fx.talk().compose->sendKeys(QStringLiteral("+{RIGHT}"));
    fx.settle();
}

// Each character of `typed` picked on its own.
void typeEach(TalkFixture &fx, const QString &typed)
{
    for (const QChar ch : typed)
        pick(fx, QString(ch));
}

QStringList listRows(FlexGrid *g)
{
    QStringList rows;
    for (int r = 0; r < g->Rows(); ++r)
        rows << g->TextMatrix(r, 0);
    return rows;
}

bool boardShowing(TalkFixture &fx)
{
    return fx.ui().grdBoard->isVisible() && fx.ui().fraRes->isVisible() && !fx.ui().grdSp->isVisible();
}

} // namespace

class TestComposeInsert : public QObject {
    Q_OBJECT

private slots:
    void pick_data();
    void pick();
    void putText_leavesCaretAfterInsertion();
    void putText_beyond16BitPositions_data();
    void putText_beyond16BitPositions();

    void key_data();
    void key();
    void key_withoutMarker();
    void noSuggestions_data();
    void noSuggestions();
    void shown_overTheBoard();
    void noMatch_showsBoard_data();
    void noMatch_showsBoard();
    void repaintResumesAfterNoMatch();
    void emptyKeyChangesNothing();
};

void TestComposeInsert::pick_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("picked");
    QTest::addColumn<QString>("after");

    QTest::newRow("into an empty text") << "" << 0 << 0 << "あ" << "あ[_]";
    QTest::newRow("at the end, block on the marker") << "あ_" << 1 << 1 << "い" << "あい[_]";
    QTest::newRow("in the middle: before the block, which stays")
        << "あいう_" << 1 << 1 << "か" << "あか[い]う_";
    QTest::newRow("in the middle without a block") << "あいう_" << 1 << 0 << "か" << "あか[い]う_";
    QTest::newRow("at the start") << "あいう_" << 0 << 1 << "か" << "か[あ]いう_";
    QTest::newRow("a longer selection is not replaced")
        << "あいう_" << 1 << 2 << "か" << "あか[い]う_";
    QTest::newRow("marker missing: appended") << "あい" << 2 << 0 << "う" << "あいう[_]";
    QTest::newRow("marker missing, inside: appended at the end")
        << "あいう" << 1 << 1 << "か" << "あか[い]う_";
    QTest::newRow("a whole cell string") << "あ_" << 1 << 1 << "(^_^)" << "あ(^_^)[_]";
    QTest::newRow("full-width space") << "あ_" << 1 << 1 << "　" << "あ　[_]";
}

void TestComposeInsert::pick()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, picked);
    QFETCH(QString, after);

    TalkFixture fx;
    fx.st().Samples = QStringList{};
    fx.setText(text, start, length);
    ::pick(fx, picked);
    QCOMPARE(fx.marked(), after);
}

void TestComposeInsert::putText_leavesCaretAfterInsertion()
{
    TalkFixture fx;
    fx.setText(QStringLiteral("あいう_"), 1, 1);
    fx.ui().txtHide->setText(QStringLiteral("かき"));
    fx.talk().compose->PutText();
    QCOMPARE(fx.marked(), QStringLiteral("あかき|いう_"));
    QCOMPARE(fx.ui().txtHide->text(), QStringLiteral("かき"));
}

void TestComposeInsert::putText_beyond16BitPositions_data()
{
    QTest::addColumn<int>("caret");

    QTest::newRow("just past 32,766") << 32'767;
    QTest::newRow("inside a long text") << 35'000;
    QTest::newRow("at the end of a long text") << 40'000;
}

void TestComposeInsert::putText_beyond16BitPositions()
{
    QFETCH(int, caret);

    TalkFixture fx;
    fx.st().Samples = QStringList{};
    const QString typed(40'000, u'あ');
    fx.setText(typed + u'_', caret, 1);
    ::pick(fx, QStringLiteral("い"));

    QCOMPARE(fx.box()->text(), typed.left(caret) + QStringLiteral("い") + typed.mid(caret) + u'_');
    QCOMPARE(fx.box()->selStart(), qsizetype(caret + 1));
    QCOMPARE(fx.box()->selLength(), qsizetype(1));
}

void TestComposeInsert::key_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("samples");
    QTest::addColumn<QStringList>("rows");  // the key row, then the matches

    const QStringList kana{"かさ", "きく", "か", "かきくけ", "きくこ"};
    QTest::newRow("N=1, one typed") << 1 << "か" << kana << QStringList{"か", "かさ", "か", "かきくけ"};
    QTest::newRow("N=1, two typed: the last one") << 1 << "かき" << kana
                                                   << QStringList{"き", "きく", "きくこ"};
    QTest::newRow("N=2, one typed: already a key") << 2 << "か" << kana
                                                    << QStringList{"か", "かさ", "か", "かきくけ"};
    QTest::newRow("N=2, two typed: both") << 2 << "かき" << kana << QStringList{"かき", "かきくけ"};
    QTest::newRow("N=2, three typed: the last two") << 2 << "かきく" << kana
                                                    << QStringList{"きく", "きく", "きくこ"};
    const QStringList vowels{"あいうえお", "あいうえおか", "いうえおか", "かあいうえお"};
    QTest::newRow("N=5, four typed") << 5 << "あいうえ" << vowels
                                      << QStringList{"あいうえ", "あいうえお", "あいうえおか"};
    QTest::newRow("N=5, five typed") << 5 << "あいうえお" << vowels
                                      << QStringList{"あいうえお", "あいうえお", "あいうえおか"};
    QTest::newRow("N=5, six typed: the last five") << 5 << "かあいうえお" << vowels
                                                    << QStringList{"あいうえお", "あいうえお", "あいうえおか"};
    QTest::newRow("a sentence stored twice is listed twice")
        << 2 << "お" << QStringList{"おはよう", "あさ", "おはよう"}
        << QStringList{"お", "おはよう", "おはよう"};
    QTest::newRow("letter case counts") << 2 << "Ab" << QStringList{"abc", "ABC", "Abc"}
                                         << QStringList{"Ab", "Abc"};
    QTest::newRow("trailing space: only the sentence equal to the trimmed key")
        << 2 << "あ " << QStringList{"あいう", "あ", "あい"} << QStringList{"あ", "あ"};
    QTest::newRow("full-width space is part of the key")
        << 2 << "あ　" << QStringList{"あ　か", "あ", "あい"} << QStringList{"あ　", "あ　か"};
}

void TestComposeInsert::key()
{
    QFETCH(int, n);
    QFETCH(QString, typed);
    QFETCH(QStringList, samples);
    QFETCH(QStringList, rows);

    TalkFixture fx;
    fx.st().SampleChars = n;
    fx.st().Samples = samples;
    typeEach(fx, typed);

    QCOMPARE(listRows(fx.ui().grdSp), rows);
    QVERIFY(fx.ui().grdSp->isVisible());
    QCOMPARE(fx.marked(), typed + QStringLiteral("[_]"));
}

void TestComposeInsert::key_withoutMarker()
{
    // Caret before a last character that is not the marker: the last N
    // characters, the one under the block included.
    TalkFixture fx;
    fx.st().Samples = QStringList{"いう", "あい", "いうえ"};
    fx.setText(QStringLiteral("あいう"), 2, 1);
    fx.talk().compose->OfferSuggestions(fx.box()->text());
    QCOMPARE(listRows(fx.ui().grdSp), (QStringList{"いう", "いう", "いうえ"}));
}

void TestComposeInsert::noSuggestions_data()
{
    QTest::addColumn<QString>("samp");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("typing in the middle") << "1" << "あいう_" << 1 << true;
    QTest::newRow("typing at the start") << "1" << "あいう_" << 0 << true;
    QTest::newRow("suggestions off") << "0" << "" << 0 << true;
    QTest::newRow("suggestions off, zero spelt 00") << "00" << "" << 0 << true;
    QTest::newRow("suggestions off, zero spelt 0.0") << "0.0" << "" << 0 << true;
    QTest::newRow("no sentences loaded") << "1" << "" << 0 << false;
}

void TestComposeInsert::noSuggestions()
{
    QFETCH(QString, samp);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(bool, loaded);

    TalkFixture fx;
    fx.st().Options[Samp] = samp;
    if (loaded)
        fx.st().Samples = QStringList{"あさ", "あい"};
    else
        fx.st().Samples.reset();
    fx.setText(text, start, 1);
    ::pick(fx, QStringLiteral("あ"));

    QVERIFY(boardShowing(fx));
    QVERIFY(!fx.ui().fraTalk->isVisible());
    QVERIFY(!fx.platform.busy);
}

void TestComposeInsert::shown_overTheBoard()
{
    TalkFixture fx;
    fx.st().Samples = QStringList{"あさ", "いぬ", "あい"};
    fx.st().ListRow = 3;
    fx.ui().fraSet->show();
    typeEach(fx, QStringLiteral("あ"));

    FlexGrid *sp = fx.ui().grdSp;
    QCOMPARE(fx.talk().layout.rect(sp), fx.talk().layout.rect(fx.ui().grdBoard));
    QCOMPARE(sp->geometry(), fx.ui().grdBoard->geometry());
    QCOMPARE(sp->ColWidth(0), kDesignWidthTwips);
    QCOMPARE(sp->Cols(), 1);
    QCOMPARE(listRows(sp), (QStringList{"あ", "あさ", "あい"}));
    QCOMPARE(sp->cellBackColor(0, 0), kGreen);
    QCOMPARE(sp->cellBackColor(1, 0), kWhite);
    QCOMPARE(sp->cellBackColor(2, 0), kWhite);
    QCOMPARE(sp->Row(), 0);
    QCOMPARE(sp->TopRow(), 0);
    QCOMPARE(fx.st().ListRow, 0);
    QVERIFY(sp->updatesEnabled());

    QVERIFY(sp->isVisible());
    QVERIFY(fx.ui().fraTalk->isVisible());
    QVERIFY(!fx.ui().grdBoard->isVisible());
    QVERIFY(!fx.ui().fraRes->isVisible());
    QVERIFY(!fx.ui().fraSet->isVisible());
    QVERIFY(!fx.platform.busy);
}

void TestComposeInsert::noMatch_showsBoard_data()
{
    QTest::addColumn<bool>("listShowing");
    QTest::addColumn<bool>("setShowing");

    QTest::newRow("suggestions showing before") << true << false;
    QTest::newRow("board showing before") << false << false;
    QTest::newRow("enlarged panel showing") << false << true;
}

void TestComposeInsert::noMatch_showsBoard()
{
    QFETCH(bool, listShowing);
    QFETCH(bool, setShowing);

    TalkFixture fx;
    fx.st().Samples = QStringList{"あさ", "あい"};
    if (listShowing) {
        typeEach(fx, QStringLiteral("あ"));
        QVERIFY(fx.ui().grdSp->isVisible());
    }
    fx.ui().fraSet->setVisible(setShowing);
    const bool talkBefore = fx.ui().fraTalk->isVisible();
    fx.st().ListRow = 2;

    fx.talk().compose->ShowSuggestions(QStringLiteral("ん"));

    QVERIFY(boardShowing(fx));
    QCOMPARE(fx.ui().fraTalk->isVisible(), talkBefore);
    QCOMPARE(fx.ui().fraSet->isVisible(), setShowing);
    QCOMPARE(fx.st().ListRow, 0);
    QCOMPARE(listRows(fx.ui().grdSp), QStringList{"ん"});
}

void TestComposeInsert::repaintResumesAfterNoMatch()
{
    // A search without a match leaves the hidden list's repainting off; the
    // next one that shows the list must show it painted.
    TalkFixture fx;
    fx.st().Samples = QStringList{"かさ"};
    for (int i = 0; i < 3; ++i)
        fx.talk().compose->ShowSuggestions(QStringLiteral("ん"));
    fx.talk().compose->ShowSuggestions(QStringLiteral("か"));
    QVERIFY(fx.ui().grdSp->isVisible());
    QVERIFY(fx.ui().grdSp->updatesEnabled());
}

void TestComposeInsert::emptyKeyChangesNothing()
{
    TalkFixture fx;
    fx.st().Samples = QStringList{"かさ"};
    fx.talk().compose->ShowSuggestions(QStringLiteral("か"));
    fx.st().ListRow = 1;
    fx.talk().compose->ShowSuggestions(QString());
    QCOMPARE(listRows(fx.ui().grdSp), (QStringList{"か", "かさ"}));
    QVERIFY(fx.ui().grdSp->isVisible());
    QCOMPARE(fx.st().ListRow, 1);
}

QTEST_MAIN(TestComposeInsert)
#include "test_compose_insert.moc"

// The example-sentence screens through their real buttons: opening and
// closing the list, the labels, adding, deleting, "始め", and what lands in
// Talk.txt.

#include "samples/DialogScript.h"
#include "samples/SampleBytes.h"
#include "support/TalkFixture.h"

#include <QFrame>

using namespace kel;

namespace {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);
constexpr int kBoardWidthTwips = 11685;

// Placeholder first, then 30 sentences before ありがとう and 30 after it,
// so that the list is long enough to scroll.
QStringList longList()
{
    QStringList s{kPlaceholder};
    for (int i = 0; i < 30; ++i)
        s << QStringLiteral("あa%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 0; i < 30; ++i)
        s << QStringLiteral("い%1").arg(i, 2, 10, QLatin1Char('0'));
    return s;
}

std::map<QString, QByteArray> talkFile(const QByteArray &bytes)
{
    return {{QStringLiteral("Talk.txt"), bytes}};
}

} // namespace

class TestSampleScreens : public QObject {
    Q_OBJECT

private slots:
    void openingShowsListWithDiaryRowHighlighted();
    void closingRestoresBoard();
    void buttonColoursFollowPressAndRelease();
    void everyPressEnsuresEndMarker_data();
    void everyPressEnsuresEndMarker();
    void labelsMarkFirstRowOfEachRun();
    void sentencesBeforePlaceholderKeepDiaryRowFirst();

    void additionStoresOpensAndHighlights_data();
    void additionStoresOpensAndHighlights();
    void emptyTextAddsNothing_data();
    void emptyTextAddsNothing();
    void duplicateIsRefused_data();
    void duplicateIsRefused();
    void diaryTextRefusedOnceListShown();
    void deletionEmptiesRowUntilReopened();
    void declinedDeletionChangesNothing();
    void diaryRowIsNotDeleted();

    void startOver_data();
    void startOver();
};

void TestSampleScreens::openingShowsListWithDiaryRowHighlighted()
{
    TalkFixture f({}, talkFile(records(longList())));
    Controls &u = f.ui();
    u.grdSp->show();
    u.grdDay->show();
    u.txtTalk->setBackColor(QColor(192, 192, 255));
    f.click(u.cmdWide);

    f.click(u.cmdSamp);

    QVERIFY(u.grdEx->isVisible());
    QVERIFY(!u.grdBoard->isVisible());
    QVERIFY(!u.grdSp->isVisible());
    QVERIFY(!u.grdDay->isVisible());
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文終了"));
    QVERIFY(u.cmdSampDel->isVisible());
    QVERIFY(!u.cmdSampADD->isVisible());
    QVERIFY(!u.fraRes->isVisible());
    QVERIFY(u.fraTalk->isVisible());
    QCOMPARE(u.txtTalk->backColor(), QColor(192, 192, 255)); // left as it was
    QCOMPARE(u.cmdWide->text(), QStringLiteral("広げる"));
    QCOMPARE(f.talk().layout.rect(u.txtTalk).height(), 1455);
    QVERIFY(u.frmTalk->isEnabled());

    QCOMPARE(u.grdEx->geometry(), u.grdBoard->geometry());
    QCOMPARE(u.grdEx->ColWidth(0), 1000);
    QCOMPARE(u.grdEx->ColWidth(1), kBoardWidthTwips - 1000 - 338);
    QCOMPARE(u.grdEx->Rows(), 61);
    QCOMPARE(u.grdEx->TextMatrix(0, 1), QStringLiteral("日記"));
    QCOMPARE(u.grdEx->TextMatrix(0, 0), QStringLiteral("あ行"));
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(u.grdEx->cellBackColor(0, 1), kGreen);
    QCOMPARE(u.grdEx->cellBackColor(1, 1), kWhite);
    QCOMPARE(u.grdEx->TopRow(), 0);
}

void TestSampleScreens::closingRestoresBoard()
{
    TalkFixture f;
    Controls &u = f.ui();
    f.click(u.cmdSamp);
    u.txtTalk->setBackColor(kGreen);
    u.grdSp->show();

    f.click(u.cmdSamp);

    QVERIFY(u.grdBoard->isVisible());
    QVERIFY(!u.grdEx->isVisible());
    QVERIFY(!u.grdSp->isVisible());
    QVERIFY(!u.grdDay->isVisible());
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
    QVERIFY(!u.cmdSampDel->isVisible());
    QVERIFY(u.cmdSampADD->isVisible());
    QVERIFY(u.fraRes->isVisible());
    QVERIFY(!u.fraTalk->isVisible());
    QCOMPARE(u.txtTalk->backColor(), kWhite);
}

void TestSampleScreens::buttonColoursFollowPressAndRelease()
{
    TalkFixture f;
    f.press(f.ui().cmdSamp);
    QCOMPARE(f.ui().cmdSamp->backColor(), QColor(0, 0, 192));
    f.release(f.ui().cmdSamp);
    QCOMPARE(f.ui().cmdSamp->backColor(), QColor(192, 192, 255));
}

void TestSampleScreens::everyPressEnsuresEndMarker_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("marker appended") << "あい" << "あい_";
    QTest::newRow("marker kept, not doubled") << "あい_" << "あい_";
    QTest::newRow("empty text gets the marker") << "" << "_";
}

void TestSampleScreens::everyPressEnsuresEndMarker()
{
    QFETCH(QString, text);
    QFETCH(QString, after);
    TalkFixture f;
    for (const char *screen : {"opening", "closing"}) {
        f.setText(text, 1);
        f.click(f.ui().cmdSamp);
        QVERIFY2(f.box()->text() == after, screen);
    }
}

void TestSampleScreens::labelsMarkFirstRowOfEachRun()
{
    const QStringList file{kPlaceholder, "ごはん", "かさ", "水", "がっこう", "ごま", "Ｘ", "あめ"};
    TalkFixture f({}, talkFile(records(file)));
    f.click(f.ui().cmdSamp);

    FlexGrid *g = f.ui().grdEx;
    QCOMPARE(column(g, 1),
             QStringList({"日記", "あめ", "かさ", "がっこう", "ごはん", "ごま", "水", "Ｘ"}));
    QCOMPARE(column(g, 0), QStringList({"あ行", "", "か行", "", "が行", "", "", ""}));
}

void TestSampleScreens::sentencesBeforePlaceholderKeepDiaryRowFirst()
{
    // Each of these sorts before "ああああ…" by character code.
    const QStringList early{"123", "ABC", "!", "ぁいう", "かさ"};
    TalkFixture f({}, talkFile(records(QStringList{kPlaceholder} + early)));
    f.click(f.ui().cmdSamp);
    FlexGrid *g = f.ui().grdEx;
    QCOMPARE(column(g, 1), QStringList({"日記", "!", "123", "ABC", "ぁいう", "かさ"}));
    QCOMPARE(column(g, 0), QStringList({"あ行", "", "", "", "", "か行"}));

    // Saved with the list open, row 0 goes back as the placeholder and
    // nothing else is replaced by it.
    f.click(f.ui().cmdSamp);
    f.setText("はい_", 2);
    f.click(f.ui().cmdSampADD);
    QCOMPARE(f.readFile("Talk.txt"),
             records({kPlaceholder, "!", "123", "ABC", "ぁいう", "かさ", "はい"}));
}

void TestSampleScreens::additionStoresOpensAndHighlights_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("with end marker") << "ありがとう_";
    QTest::newRow("spaces around") << "  ありがとう  _";
    QTest::newRow("without end marker") << "ありがとう";
}

void TestSampleScreens::additionStoresOpensAndHighlights()
{
    QFETCH(QString, text);
    TalkFixture f({}, talkFile(records(longList())));
    Controls &u = f.ui();
    f.setText(text, 0, 1);
    DialogScript dialogs;

    f.click(u.cmdSampADD);

    QVERIFY(dialogs.seen.isEmpty());
    // The rows of the last build in their order, the new sentence at the end.
    QCOMPARE(f.readFile("Talk.txt"), records(longList() << "ありがとう"));
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文終了"));
    QVERIFY(u.grdEx->isVisible());
    QVERIFY(!u.grdBoard->isVisible());
    QVERIFY(u.cmdSampDel->isVisible());
    QVERIFY(!u.cmdSampADD->isVisible());
    QVERIFY(u.fraTalk->isVisible());
    QVERIFY(!u.fraRes->isVisible());

    const int row = 31; // after the placeholder and the 30 "あa" rows
    QCOMPARE(u.grdEx->TextMatrix(row, 1), QStringLiteral("ありがとう"));
    QCOMPARE(u.grdEx->TextMatrix(0, 1), QStringLiteral("日記"));
    QCOMPARE(f.st().ListRow, row);
    QCOMPARE(u.grdEx->cellBackColor(row, 1), kGreen);
    QCOMPARE(u.grdEx->cellBackColor(0, 1), kWhite);
    QCOMPARE(u.grdEx->TopRow(), row);
    QCOMPARE(u.grdEx->ColWidth(0), 2500);
    QCOMPARE(u.grdEx->ColWidth(1), kBoardWidthTwips - 2500);
    QVERIFY(f.st().Samples->contains(QStringLiteral("ありがとう")));
    QCOMPARE(u.txtTalk->text(), text); // the text is left for the user
}

void TestSampleScreens::emptyTextAddsNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("spaces") << "   ";
    QTest::newRow("end marker only") << "_";
    QTest::newRow("spaces and end marker") << "  _ ";
    QTest::newRow("quotes only") << "\"\"_";
}

void TestSampleScreens::emptyTextAddsNothing()
{
    QFETCH(QString, text);
    const QByteArray file = records({kPlaceholder, "はい"});
    TalkFixture f({}, talkFile(file));
    f.setText(text, 0);
    DialogScript dialogs;
    f.click(f.ui().cmdSampADD);
    QVERIFY(dialogs.seen.isEmpty());
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestSampleScreens::duplicateIsRefused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    const QByteArray plain = records({kPlaceholder, "こんにちは"});
    QTest::newRow("same text") << plain << "こんにちは_";
    QTest::newRow("spaces around the new one") << plain << "   こんにちは  _";
    QTest::newRow("spaces around the stored one")
        << (kPlaceholderRecord + QByteArray("\"  ") + encodeCp932("こんにちは").value() + "  \"\r\n")
        << "こんにちは_";
    QTest::newRow("quote lost on storing") << plain << "こんに\"ちは_";
}

void TestSampleScreens::duplicateIsRefused()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    TalkFixture f({}, talkFile(file));
    f.setText(text, 0);
    DialogScript dialogs({0});

    f.click(f.ui().cmdSampADD);

    QCOMPARE(dialogs.seen, QList<SeenDialog>({{"例文登録", "同一文が登録されています", {"OK"}}}));
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
    QVERIFY(f.ui().grdBoard->isVisible());
    QVERIFY(!f.ui().grdEx->isVisible());
    QCOMPARE(f.ui().grdEx->Rows(), 2);
}

void TestSampleScreens::diaryTextRefusedOnceListShown()
{
    const QByteArray file = records({kPlaceholder, "はい"});
    TalkFixture f({}, talkFile(file));
    f.click(f.ui().cmdSamp); // row 0 now shows "日記"
    f.click(f.ui().cmdSamp);
    f.setText("日記_", 0);
    DialogScript dialogs({0});
    f.click(f.ui().cmdSampADD);
    QCOMPARE(dialogs.seen, QList<SeenDialog>({{"例文登録", "同一文が登録されています", {"OK"}}}));
    QCOMPARE(f.readFile("Talk.txt"), file);
}

void TestSampleScreens::deletionEmptiesRowUntilReopened()
{
    const QByteArray file = records({kPlaceholder, "おはよう", "はい"});
    TalkFixture f({}, talkFile(file));
    Controls &u = f.ui();
    f.setText("かさ_", 0);
    f.click(u.cmdSampADD); // highlights かさ on row 2
    QCOMPARE(f.st().ListRow, 2);

    DialogScript dialogs({0});
    f.click(u.cmdSampDel);

    QCOMPARE(dialogs.seen,
             QList<SeenDialog>({{"例文の削除", "上記例文を削除してもいいですか？", {"ＯＫ", "キャンセル"}}}));
    // Row 0 is written back as the placeholder; the emptied row is dropped.
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(u.grdEx->Rows(), 4);
    QCOMPARE(u.grdEx->TextMatrix(2, 1), QString());
    QCOMPARE(u.grdEx->TextMatrix(2, 0), QStringLiteral("か行"));
    QCOMPARE(u.grdEx->cellBackColor(2, 1), kGreen);
    QVERIFY(f.st().Samples->contains(QStringLiteral("かさ"))); // until the next load

    f.click(u.cmdSamp);
    f.click(u.cmdSamp);
    QCOMPARE(column(u.grdEx, 1), QStringList({"日記", "おはよう", "はい"}));
    QVERIFY(!f.st().Samples->contains(QStringLiteral("かさ")));
}

void TestSampleScreens::declinedDeletionChangesNothing()
{
    TalkFixture f({}, talkFile(records({kPlaceholder, "おはよう"})));
    f.setText("はい_", 0);
    f.click(f.ui().cmdSampADD);
    const QByteArray stored = f.readFile("Talk.txt");
    DialogScript dialogs({1});
    f.click(f.ui().cmdSampDel);
    QCOMPARE(dialogs.seen.size(), 1);
    QCOMPARE(f.ui().grdEx->TextMatrix(f.st().ListRow, 1), QStringLiteral("はい"));
    QCOMPARE(f.readFile("Talk.txt"), stored);
}

void TestSampleScreens::diaryRowIsNotDeleted()
{
    const QByteArray file = records({kPlaceholder, "おはよう"});
    TalkFixture f({}, talkFile(file));
    f.click(f.ui().cmdSamp);
    DialogScript dialogs;
    f.click(f.ui().cmdSampDel);
    QVERIFY(dialogs.seen.isEmpty());
    QCOMPARE(f.ui().grdEx->TextMatrix(0, 1), QStringLiteral("日記"));
    QCOMPARE(f.readFile("Talk.txt"), file);
}

void TestSampleScreens::startOver_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("ＯＫ clears") << 0 << true;
    QTest::newRow("キャンセル keeps") << 1 << false;
}

void TestSampleScreens::startOver()
{
    QFETCH(int, answer);
    QFETCH(bool, cleared);
    TalkFixture f;
    FlexGrid *board = f.ui().grdBoard;
    const std::pair<int, int> greenCells[] = {{0, 0}, {2, 5}, {4, 9}};
    for (auto [r, c] : greenCells) {
        board->setRow(r);
        board->setCol(c);
        board->setCellBackColor(kGreen);
    }
    f.setText("あいう_", 1, 1);
    DialogScript dialogs({answer});

    f.click(f.ui().cmdStart);

    QCOMPARE(dialogs.seen,
             QList<SeenDialog>({{"例文登録", "はじめからでよろしいですか？", {"ＯＫ", "キャンセル"}}}));
    QCOMPARE(f.box()->text(), cleared ? QString() : QStringLiteral("あいう_"));
    int green = 0;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c <= f.st().MaxC; ++c)
            green += board->cellBackColor(r, c) == kGreen;
    QCOMPARE(green, cleared ? 0 : 3);
}

QTEST_MAIN(TestSampleScreens)
#include "test_samplescreens.moc"

// The example list through its real buttons: opening and closing it,
// adding, deleting, "始め", the Talk.txt found at start-up, and the refusals
// that must never cost a stored sentence.

#include "samples/SampleDriving.h"

using namespace kel;

Q_DECLARE_METATYPE(kel::SaveFault)

namespace {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);

// Puts `text` in the box and presses "例文追加", pressing the first button
// of whatever is asked; returns what was asked.
QStringList add(TalkFixture &f, const QString &text)
{
    f.setText(text, 0);
    DialogScript dialogs({0, 0});
    f.click(f.ui().cmdSampADD);
    return dialogs.seen;
}

} // namespace

class TestSampleScreens : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }
    void opensAndClosesTheList();
    void additionStoresAndHighlights();
    void deletionEmptiesRowUntilReopened();
    void startOver_data();
    void startOver();
    void refusalsLeaveTheFileAsItWas_data();
    void refusalsLeaveTheFileAsItWas();
    void seedsOnlyAFreshInstallation_data();
    void seedsOnlyAFreshInstallation();
};

void TestSampleScreens::opensAndClosesTheList()
{
    TalkFixture f({}, talkFile(records({"ごはん", "3時に起こして", kPlaceholder, "かさ", "がっこう"})));
    Controls &u = f.ui();
    const QList<QWidget *> switched{u.grdBoard, u.grdEx,      u.grdSp,  u.grdDay,
                                    u.cmdSampADD, u.cmdSampDel, u.fraRes, u.fraTalk};
    const QColor lightBlue(192, 192, 255);
    const struct { QString caption; QStringList shown; QColor back; } modes[] = {
        {"例文終了", {"grdEx", "cmdSampDel", "fraTalk"}, lightBlue},
        {"例文表示", {"grdBoard", "cmdSampADD", "fraRes"}, kWhite},
    };
    for (const auto &mode : modes) {
        u.grdSp->show();
        u.grdDay->show();
        u.txtTalk->setBackColor(lightBlue);
        f.click(u.cmdSamp);
        QCOMPARE(u.cmdSamp->text(), mode.caption);
        QCOMPARE(shown(switched), mode.shown);
        QCOMPARE(u.txtTalk->backColor(), mode.back);
        if (u.grdEx->isVisible()) {
            // The placeholder sorts first, so a digit-first sentence stays
            // below the diary row and does not end its あ行 run.
            QCOMPARE(rows(u.grdEx), (QStringList{"あ行|日記", "|3時に起こして", "か行|かさ",
                                                 "|がっこう", "が行|ごはん"}));
            QCOMPARE(u.grdEx->geometry(), u.grdBoard->geometry());
            QCOMPARE(f.st().ListRow, 0);
            QCOMPARE(u.grdEx->cellBackColor(0, 1), kGreen);
        }
    }
}

void TestSampleScreens::additionStoresAndHighlights()
{
    TalkFixture f({}, talkFile(records({kPlaceholder, "はい", "あさ"})));
    Controls &u = f.ui();

    QCOMPARE(add(f, "  ありがとう _"), QStringList());

    // The rows of the last build in their order, then the new sentence.
    QCOMPARE(f.readFile("Talk.txt"), records({kPlaceholder, "あさ", "はい"})
                                         + QByteArray::fromHex("2282A082E882AA82C682A4220D0A"));
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文終了"));
    QVERIFY(u.grdEx->isVisible());
    QCOMPARE(rows(u.grdEx), (QStringList{"あ行|日記", "|あさ", "|ありがとう", "は行|はい"}));
    QCOMPARE(f.st().ListRow, 2);
    QCOMPARE(u.grdEx->cellBackColor(2, 1), kGreen);
    QCOMPARE(u.grdEx->cellBackColor(0, 1), kWhite);
}

void TestSampleScreens::deletionEmptiesRowUntilReopened()
{
    const QByteArray file = records({kPlaceholder, "おはよう", "はい"});
    TalkFixture f({}, talkFile(file));
    Controls &u = f.ui();
    QCOMPARE(add(f, "かさ_"), QStringList()); // highlighted on row 2

    DialogScript dialogs({0});
    f.click(u.cmdSampDel);

    QCOMPARE(dialogs.seen, QStringList{"例文の削除|上記例文を削除してもいいですか？|ＯＫ|キャンセル"});
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(rows(u.grdEx), (QStringList{"あ行|日記", "|おはよう", "か行|", "は行|はい"}));
    QCOMPARE(u.grdEx->cellBackColor(2, 1), kGreen);
    f.click(u.cmdSamp);
    f.click(u.cmdSamp);
    QCOMPARE(rows(u.grdEx), (QStringList{"あ行|日記", "|おはよう", "は行|はい"}));
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

    QCOMPARE(dialogs.seen, QStringList{"例文登録|はじめからでよろしいですか？|ＯＫ|キャンセル"});
    QCOMPARE(f.box()->text(), cleared ? QString() : QStringLiteral("あいう_"));
    for (auto [r, c] : greenCells)
        QCOMPARE(board->cellBackColor(r, c), cleared ? kWhite : kGreen);
}

void TestSampleScreens::refusalsLeaveTheFileAsItWas_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<SaveFault>("fault");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");
    const QByteArray file = records({kPlaceholder, "こんにちは"});
    QTest::newRow("duplicate") << file << SaveFault::None << "  こんにちは _"
                               << "例文登録|同一文が登録されています|OK";
    QTest::newRow("fault between write and rename") << file << SaveFault::BeforeRename << "はい_"
                                                    << "例文登録|例文を保存できませんでした|OK";
    QTest::newRow("character code page 932 cannot hold") << file << SaveFault::None << "おはよう😀_"
                                                         << "例文登録|「😀」は保存できない文字です|OK";
    // あ, then a byte no code page 932 character begins with, then a lone lead byte.
    QTest::newRow("invalid file") << QByteArray::fromHex("2282A0220D0A 22A0FD220D0A 2282")
                                  << SaveFault::None << "はい_"
                                  << "例文登録|例文ファイルが読めないため保存できません|OK";
}

void TestSampleScreens::refusalsLeaveTheFileAsItWas()
{
    QFETCH(QByteArray, file);
    QFETCH(SaveFault, fault);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    TalkFixture f({}, talkFile(file));
    setSaveFaultForTesting(fault);

    QCOMPARE(add(f, text), QStringList{notice});

    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(folderEntries(f), QStringList{"Talk.txt"});
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestSampleScreens::seedsOnlyAFreshInstallation_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no Talk.txt
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("fresh installation: placeholder and everyday sentences")
        << QByteArray() << records(QStringList{kPlaceholder} + everydaySentences());
    QTest::newRow("the user's file is kept, even without the placeholder")
        << records({"こんにちは"}) << records({"こんにちは"});
}

void TestSampleScreens::seedsOnlyAFreshInstallation()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, after);
    TalkFixture f({}, file.isNull() ? std::map<QString, QByteArray>() : talkFile(file));
    f.click(f.ui().cmdSamp);
    QCOMPARE(f.ui().grdEx->TextMatrix(0, 1), QStringLiteral("日記"));
    f.click(f.ui().cmdSamp);
    QCOMPARE(f.readFile("Talk.txt"), after);
}

QTEST_MAIN(TestSampleScreens)
#include "test_samplescreens.moc"

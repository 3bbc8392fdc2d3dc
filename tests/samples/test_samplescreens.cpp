// The example list through its real buttons: opening and closing it,
// adding, deleting, "始め", the Talk.txt found at start-up, and the refusals
// that must never cost a stored sentence.

#include "samples/SampleDriving.h"

using namespace kel;

// Buttons clicked from start-up, and what the user is left with.
struct Visit {
    QByteArray file = records({kPlaceholder, "こんにちは"}); // Talk.txt at start-up; null: none
    SaveFault fault = SaveFault::None;
    QString text;               // in the box before the first click
    QString steps = "例文追加"; // ＯＫ to every question
    QString asked;
    QList<int> answers = {0, 0};
    QByteArray stored = file;   // Talk.txt at the end
    QStringList listed;         // the list's rows; none: the list is closed
};
Q_DECLARE_METATYPE(Visit)

class TestSampleScreens : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }
    void listIsSortedAndLabelled();
    void visits_data();
    void visits();
    void startOver_data();
    void startOver();
};

void TestSampleScreens::listIsSortedAndLabelled()
{
    TalkFixture f({}, {{kSampleFileName, records({"ごはん", "3時に起こして", kPlaceholder, "かさ", "がっこう"})}});
    f.click(f.ui().cmdSamp);
    // The placeholder sorts first, so a digit-first sentence stays below the
    // diary row and does not end its あ行 run; が lies inside か..こ, so only
    // ご begins が行. (Which controls show: test_reach.)
    QCOMPARE(rows(f.ui().grdEx), (QStringList{"あ行|[日記]", "|3時に起こして", "か行|かさ", "|がっこう", "が行|ごはん"}));
    QCOMPARE(f.ui().grdEx->geometry(), f.ui().grdBoard->geometry());
}

void TestSampleScreens::visits_data()
{
    QTest::addColumn<Visit>("v");
    const auto refused = [](const char *why) { return QStringLiteral("例文登録|%1|OK").arg(QString::fromUtf8(why)); };
    // The rows of the last build in their order, then the new sentence.
    QTest::newRow("added: stored and highlighted") << Visit{
        .file = records({kPlaceholder, "はい", "あさ"}), .text = "  ありがとう _",
        .stored = records({kPlaceholder, "あさ", "はい"}) + QByteArray::fromHex("2282A082E882AA82C682A4220D0A"),
        .listed = {"あ行|日記", "|あさ", "|[ありがとう]", "は行|はい"}};
    // A pasted line break would split the record; it is stored as a space.
    QTest::newRow("line breaks stay in one record") << Visit{
        .text = "くもり\r\nはれ\n_",
        .stored = records({kPlaceholder, "こんにちは"}) + QByteArray::fromHex("2282AD82E082E82082CD82EA220D0A"),
        .listed = {"あ行|日記", "か行|[くもり はれ]", "|こんにちは"}};
    QTest::newRow("duplicate") << Visit{.text = "  こんにちは _", .asked = refused("同一文が登録されています")};
    QTest::newRow("fault between write and rename")
        << Visit{.fault = SaveFault::BeforeRename, .text = "はい_", .asked = refused("例文を保存できませんでした")};
    QTest::newRow("character code page 932 cannot hold")
        << Visit{.text = "おはよう😀_", .asked = refused("「😀」は保存できない文字です")};
    // あ, then a byte no code page 932 character begins with, then a lone lead byte.
    QTest::newRow("invalid file") << Visit{.file = QByteArray::fromHex("2282A0220D0A 22A0FD220D0A 2282"),
                                           .text = "はい_", .asked = refused("例文ファイルが読めないため保存できません")};
    const auto deleted = Visit{.file = records({kPlaceholder, "おはよう", "はい"}), .text = "かさ_",
                               .steps = "例文追加 例文削除",
                               .asked = "例文の削除|上記例文を削除してもいいですか？|ＯＫ|キャンセル",
                               .listed = {"あ行|日記", "|おはよう", "か行|[]", "は行|はい"}};
    QTest::newRow("deleted: the row stays, emptied") << deleted;
    Visit reopened = deleted;
    reopened.steps += " 例文終了 例文表示";
    reopened.listed = {"あ行|[日記]", "|おはよう", "は行|はい"};
    QTest::newRow("deleted, then reopened") << reopened;
    // A Talk.txt saved as UTF-8 elsewhere: 〜 is written as code page 932's ～.
    const QByteArray utf8 = QStringLiteral("\"ああああ日記ダミー消さないでね！\"\r\n\"3時〜5時\"\r\n").toUtf8();
    QTest::newRow("〜 from an old file is stored as ～") << Visit{
        .file = utf8, .text = "はい_", .stored = records({kPlaceholder, "3時～5時", "はい"}),
        .listed = {"あ行|日記", "|3時～5時", "は行|[はい]"}};
    const QByteArray vu = QStringLiteral("\"ゔぁいおりん\"\r\n").toUtf8();
    const QString askVu = "例文登録|「ゔぁいおりん」に保存できない文字があります。「？」にして保存しますか？|ＹＥＳ|ＮＯ";
    QTest::newRow("ゔ from an old file: asked once, ＹＥＳ writes ？") << Visit{
        .file = vu, .text = "はい_", .asked = askVu,
        .stored = records({kPlaceholder, "？ぁいおりん", "はい"}),
        .listed = {"あ行|日記", "は行|[はい]", "|？ぁいおりん"}};
    QTest::newRow("ゔ from an old file: ＮＯ keeps the file as it is")
        << Visit{.file = vu, .text = "はい_", .asked = askVu, .answers = {1}};
    QTest::newRow("fresh installation: placeholder and everyday sentences")
        << Visit{.file = QByteArray(), .steps = "例文表示 例文終了",
                 .stored = records(QStringList{kPlaceholder} + everydaySentences())};
    QTest::newRow("the user's file is kept, even without the placeholder")
        << Visit{.file = records({"こんにちは"}), .steps = "例文表示 例文終了"};
}

void TestSampleScreens::visits()
{
    QFETCH(Visit, v);
    std::map<QString, QByteArray> files;
    if (!v.file.isNull())
        files[kSampleFileName] = v.file;
    TalkFixture f({}, files);
    setSaveFaultForTesting(v.fault);
    f.setText(v.text, 0);

    QCOMPARE(drive(f, v.steps, v.answers), v.asked.isEmpty() ? QStringList() : QStringList{v.asked});

    QCOMPARE(f.readFile("Talk.txt"), v.stored);
    QCOMPARE(folderEntries(f), QStringList{"Talk.txt"});
    QCOMPARE(f.ui().cmdSamp->text(), v.listed.isEmpty() ? "例文表示" : "例文終了");
    QCOMPARE(f.ui().grdEx->isVisible() ? rows(f.ui().grdEx) : QStringList(), v.listed);
}

void TestSampleScreens::startOver_data()
{
    QTest::addColumn<int>("answer"); // 0: ＯＫ, which clears
    QTest::newRow("ＯＫ clears") << 0;
    QTest::newRow("キャンセル keeps") << 1;
}

void TestSampleScreens::startOver()
{
    QFETCH(int, answer);
    const bool cleared = answer == 0;
    TalkFixture f;
    FlexGrid *board = f.ui().grdBoard;
    const std::pair<int, int> greenCells[] = {{0, 0}, {2, 5}, {4, 9}};
    for (auto [r, c] : greenCells) {
        board->setRow(r);
        board->setCol(c);
        board->setCellBackColor(kGreen);
    }
    f.setText("あいう_", 1, 1);

    QCOMPARE(drive(f, "始め", {answer}), QStringList{"例文登録|はじめからでよろしいですか？|ＯＫ|キャンセル"});

    QCOMPARE(f.box()->text(), cleared ? QString() : QStringLiteral("あいう_"));
    for (auto [r, c] : greenCells)
        QCOMPARE(board->cellBackColor(r, c), cleared ? kWhite : kGreen);
}

QTEST_MAIN(TestSampleScreens)
#include "test_samplescreens.moc"

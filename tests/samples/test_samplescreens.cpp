// Talk.txt byte for byte, the records written and the sentences read back;
// the example list through its real buttons: opening and closing it,
// adding, deleting, "始め", the Talk.txt found at start-up, the refusals
// that must never cost a stored sentence, and the file changed by another
// program while the window is open (a second copy's save, a caregiver's
// editor, a sync tool): the user's sentence and the other program's change
// both survive, and the user is told which way.

#include "support/TestMain.h"
#include "samples/SampleDriving.h"
#include "support/Files.h"

using namespace kel;

namespace {

const QString kKept = "%1|%2 はほかのプログラムで書き換えられていました。その内容は「%3」に残し、こちらの内容を保存しました。|OK";

} // namespace

class TestSampleScreens : public QObject {
    Q_OBJECT

private slots:
    void visits_data();
    void visits() { QFETCH(Visit, v); visit(v); }
    void outsideEdits_data();
    void outsideEdits();
};

void TestSampleScreens::visits_data()
{
    QTest::addColumn<Visit>("v");
    const QByteArray hello = records({kPlaceholder, "こんにちは"});
    const QStringList add{"例文追加"};
    // The placeholder sorts first, so a digit-first sentence stays below the
    // diary row and does not end its あ行 run; が lies inside か..こ, so only
    // ご begins が行.
    QTest::newRow("sorted and labelled") << Visit{
        .talk = records({"ごはん", "3時に起こして", kPlaceholder, "かさ", "がっこう"}), .steps = {"例文表示"},
        .listed = {"あ行|[日記]", "|3時に起こして", "か行|かさ", "|がっこう", "が行|ごはん"},
        .screen = "example list"};
    // The rows of the last build in their order, then the new sentence.
    // A file edited by hand: blank lines and lines of spaces skipped, every
    // quote dropped, "" an empty sentence, lone CR and LF ending lines, code
    // page 932's own ～ － ①. Saved back as records: "日記" and "メモ" as the
    // placeholder, the empty sentence left out.
    const QByteArray byHand = QByteArray::fromHex("2283818382220D0A 0D0A2020200D0A 226122622263220D0A 22220D0A"
                                                  "228160817C8740220D0A 227822 0D 227922 0A 227A22");
    // It lacks the placeholder: the list's first row, which opens the diary,
    // is there all the same, and closing the list leaves the file as it was.
    QTest::newRow("a hand-edited file, listed, closed and opened again") << Visit{
        .talk = byHand, .steps = {"例文表示", "例文終了", "例文表示"}, .listed = {"あ行|[日記]", "|", "|abc", "|x", "|y", "|z", "マ行|メモ", "|～－①"},
        .screen = "example list"};
    // "ああああ日記ダミー消さないでね！": 36 bytes.
    const QByteArray placeholder = QByteArray::fromHex("22 82 A0 82 A0 82 A0 82 A0 93 FA 8B 4C 83 5F 83 7E 81 5B"
                                                       " 8F C1 82 B3 82 C8 82 A2 82 C5 82 CB 81 49 22 0D 0A");
    QTest::newRow("a hand-edited file, saved back") << Visit{
        .talk = byHand, .text = "|はい_", .steps = add,
        .listed = {"|ああああ日記ダミー消さないでね！", "|abc", "|x", "|y", "|z", "は行|[はい]", "|～－①"}, .screen = "example list",
        .talkAfter = placeholder + QByteArray::fromHex("22616263220D0A 2278220D0A 2279220D0A 227A220D0A") + placeholder
                     + QByteArray::fromHex("228160817C8740220D0A 2282CD82A2220D0A")};
    QTest::newRow("added: stored and highlighted") << Visit{
        .talk = records({kPlaceholder, "はい", "あさ"}), .text = "|  ありがとう _", .steps = add,
        .listed = {"あ行|日記", "|あさ", "|[ありがとう]", "は行|はい"}, .screen = "example list",
        .talkAfter = records({kPlaceholder, "あさ", "はい"}) + QByteArray::fromHex("2282A082E882AA82C682A4220D0A")};
    // A pasted line break would split the record; it is stored as a space.
    QTest::newRow("line breaks stay in one record") << Visit{
        .talk = hello, .text = "|くもり\r\nはれ\n_", .steps = add,
        .listed = {"あ行|日記", "か行|[くもり はれ]", "|こんにちは"}, .screen = "example list",
        .talkAfter = hello + QByteArray::fromHex("2282AD82E082E82082CD82EA220D0A")};
    // Refused with a notice; Talk.txt stays as it was.
    const auto refused = [&add](const QString &text, const char *why, QByteArray talk = records({kPlaceholder}),
                                SaveFault fault = SaveFault::None) {
        return Visit{.talk = talk, .text = text, .fault = fault, .steps = add,
                     .asked = {"例文登録|" + QString::fromUtf8(why) + "|OK"}};
    };
    QTest::newRow("duplicate") << refused("|  こんにちは _", "同一文が登録されています", hello);
    QTest::newRow("character code page 932 cannot hold") << refused("|おはよう😀_", "「😀」は保存できない文字です");
    // あ, then a byte no code page 932 character begins with, then a lone lead byte.
    QTest::newRow("invalid file") << refused("|はい_", "例文ファイルが読めないため保存できません",
                                             QByteArray::fromHex("2282A0220D0A 22A0FD220D0A 2282"));
    QTest::newRow("fault between write and rename")
        << refused("|はい_", "例文を保存できませんでした。\nディスクを読み書きできませんでした。ディスクを確かめて、もう一度お試しください。", records({kPlaceholder}), SaveFault::BeforeRename);
    const Visit deleted{.talk = records({kPlaceholder, "おはよう", "はい"}), .text = "|かさ_",
                        .steps = {"例文追加", "例文削除"},
                        .asked = {"例文の削除|「かさ」\n上記例文を削除してもいいですか？|ＯＫ|キャンセル"},
                        .listed = {"あ行|日記", "|おはよう", "か行|[]", "は行|はい"},
                        .screen = "example list"};
    QTest::newRow("deleted: the row stays, emptied") << deleted;
    // Enter, or a stray key, takes the answer that changes nothing.
    Visit kept = deleted;
    kept.answers = {Questions::kEnter};
    kept.listed = {"あ行|日記", "|おはよう", "か行|[かさ]", "は行|はい"};
    kept.talkAfter = records({kPlaceholder, "おはよう", "はい", "かさ"});
    QTest::newRow("delete asked, Enter keeps the sentence") << kept;
    QTest::newRow("the diary row: told why nothing is deleted") << Visit{
        .talk = records({kPlaceholder, "はい"}), .steps = {"例文表示", "例文削除"},
        .asked = {"例文の削除|「日記」の行は例文ではないので削除できません|OK"},
        .listed = {"あ行|[日記]", "は行|はい"}, .screen = "example list"};
    Visit reopened = deleted;
    reopened.steps << "例文終了" << "例文表示";
    reopened.listed = {"あ行|[日記]", "|おはよう", "は行|はい"};
    QTest::newRow("deleted, then reopened") << reopened;
    // A Talk.txt saved as UTF-8 elsewhere: 〜 is written as code page 932's ～.
    QTest::newRow("〜 from an old file is stored as ～") << Visit{
        .talk = QStringLiteral("\"ああああ日記ダミー消さないでね！\"\r\n\"3時〜5時\"\r\n").toUtf8(), .text = "|はい_",
        .steps = add, .listed = {"あ行|日記", "|3時～5時", "は行|[はい]"}, .screen = "example list", .talkAfter = records({kPlaceholder, "3時～5時", "はい"})};
    const QByteArray vu = QStringLiteral("\"ゔぁいおりん\"\r\n").toUtf8();
    const QString askVu = "例文登録|「ゔぁいおりん」に保存できない文字があります。「？」にして保存しますか？|ＹＥＳ|ＮＯ";
    QTest::newRow("ゔ from an old file: asked once, ＹＥＳ writes ？") << Visit{
        .talk = vu, .text = "|はい_", .steps = add, .asked = {askVu},
        .listed = {"あ行|日記", "は行|[はい]", "|？ぁいおりん"}, .screen = "example list",
        .talkAfter = records({kPlaceholder, "？ぁいおりん", "はい"})};
    QTest::newRow("ゔ from an old file: ＮＯ keeps the file as it is")
        << Visit{.talk = vu, .text = "|はい_", .steps = add, .answers = {1}, .asked = {askVu}};
    QTest::newRow("fresh installation: placeholder and everyday sentences")
        << Visit{.talk = QByteArray(), .steps = {"例文表示", "例文終了"},
                 .talkAfter = records(QStringList{kPlaceholder} + everydaySentences())};
    // "始め" clears the text and the board's green (rule 3 leaves a named cell green).
    QTest::newRow("始め, ＯＫ clears")
        << Visit{.options = {{"OPT1", "3"}}, .text = "あ[い]う_", .steps = {"#0,9", "始め"}, .answers = {0},
                 .asked = {"例文登録|はじめからでよろしいですか？|ＯＫ|キャンセル"}, .after = "|"};
    QTest::newRow("始め, キャンセル keeps")
        << Visit{.options = {{"OPT1", "3"}}, .text = "あ[い]う_", .steps = {"#0,9", "始め"}, .answers = {1},
                 .asked = {"例文登録|はじめからでよろしいですか？|ＯＫ|キャンセル"}, .after = "あ[い]う_",
                 .green = {"0,9"}};
}

void TestSampleScreens::outsideEdits_data()
{
    QTest::addColumn<QByteArray>("theirs"); // Talk.txt as the other program leaves it
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("kept");         // the other program's file kept beside
    const QString hello = "こんにちは";
    // A second copy added さかな after this one saved いぬ (at the end of
    // its list); this one adds ねこ: without the check, さかな would be lost. (Where a merge puts
    // each line, and removals: test_outside_change.)
    QTest::newRow("a line added between two saves: merged")
        << records({kPlaceholder, hello, "いぬ", "さかな"}) << records({kPlaceholder, "いぬ", hello, "ねこ", "さかな"}) << false;
    QTest::newRow("a line changed between two saves: both kept")
        << records({kPlaceholder, "こんばんは", "いぬ"}) << records({kPlaceholder, "いぬ", hello, "ねこ"}) << true;
}

void TestSampleScreens::outsideEdits()
{
    QFETCH(QByteArray, theirs);
    QFETCH(bool, kept);
    TalkFixture f({{"OPT1", "2"}}, {{kSampleFileName, records({kPlaceholder, "こんにちは"})}});
    Questions questions({0, 0});
    // いぬ added first: the next save compares with what this one wrote.
    setMarked(f, "|いぬ_");
    play(f, {"例文追加", "例文終了"});
    f.writeFile(kSampleFileName, theirs);
    setMarked(f, "|ねこ_");
    play(f, {"例文追加"});

    QTEST(f.readFile(kSampleFileName), "after");
    const QStringList copies = test::keptBeside(f.path(kSampleFileName));
    QCOMPARE(copies.size(), kept ? 1 : 0);
    QCOMPARE(questions.asked, QStringList{kept ? kKept.arg("例文登録", kSampleFileName, copies.value(0))
                                               : kMerged.arg("例文登録", kSampleFileName)});
    if (kept)
        QCOMPARE(f.readFile(copies[0]), theirs);
    // The list shows what the file holds, so the next save keeps it too.
    QStringList shown;
    for (int r = 1; r < f.ui().grdEx->Rows(); ++r)
        shown << f.ui().grdEx->TextMatrix(r, 1);
    const QStringList stored = parseSamples(decodeTextFile(f.readFile(kSampleFileName)).text).mid(1);
    QCOMPARE(QSet<QString>(shown.begin(), shown.end()), QSet<QString>(stored.begin(), stored.end()));
}

KEL_TEST(test_samplescreens, TestSampleScreens)
#include "test_samplescreens.moc"

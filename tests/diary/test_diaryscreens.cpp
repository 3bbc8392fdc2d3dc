// The diary through the example list's buttons: the list day.txt gives
// (today is 04.09.25), revising a day, what "日記終了" stores byte for byte,
// the refusals that must never cost what was typed, and day.txt changed by
// another program while the diary is open.

#include "support/TestMain.h"
#include "samples/SampleDriving.h"

using namespace kel;

class TestDiaryScreens : public QObject {
    Q_OBJECT

private slots:
    void visits_data();
    void visits() { QFETCH(Visit, v); visit(v); }
};

void TestDiaryScreens::visits_data()
{
    QTest::addColumn<Visit>("v");
    // "04.09.24 朝ごはん", the file format's own example.
    const QByteArray breakfast = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");
    // "04.09.25 はれ_", the end marker stored with the text.
    const QByteArray sunny = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 82 CD 82 EA 5F 22 0D 0A");
    const QString askStore = "日記の終了|日記を登録して終了します|ＹＥＳ|ＮＯ";
    const QStringList list{"例文表示", "決定"};
    // Row `row` of the list revised with `typed` (one touch on the board), then `then`.
    const auto revise = [&list](int row, const QString &typed, const QStringList &then = {"日記終了"}) {
        return list + QStringList{QStringLiteral("@%1").arg(row), "決定", "修正する"}
            + (typed.isEmpty() ? QStringList() : QStringList{'+' + typed}) + then;
    };

    // The list day.txt gives; today is 04.09.25.
    const auto listOf = [&list](const QByteArray &day, const QStringList &listed) {
        return Visit{.day = day, .steps = list, .listed = listed, .screen = "diary list"};
    };
    QTest::newRow("list: an empty row for today first") << listOf(breakfast, {"04.09.25|[]", "04.09.24|朝ごはん"});
    // The clock went back: a day after today stays, below the days up to
    // today. (Today's row added above it: "a later date never takes
    // today's text".)
    QTest::newRow("list: a later date above today's record adds no second row for today")
        << listOf(records({"04.09.26 あした", "04.09.25 ", "04.09.24 きのう"}),
                  {"04.09.25|[]", "04.09.24|きのう", "04.09.26|あした"});
    QTest::newRow("list: years are read in the century nearest today")
        << listOf(records({"99.12.31 むかし", "04.09.24 きのう"}), {"04.09.25|[]", "04.09.24|きのう", "99.12.31|むかし"});
    QTest::newRow("list: damaged dates are kept, below every real day")
        << listOf(records({"99.99.99 x", "04.09.25 い", "4.09.26 y", "04.09.24 あ"}),
                  {"04.09.25|[い]", "04.09.24|あ", "99.99.99|x", "4.09.26 |"});

    QTest::newRow("empty entry of 04.09.25") << Visit{ // the closed diary puts the end marker back
        .day = breakfast, .steps = revise(0, ""), .asked = {askStore}, .after = "|_",
        .dayAfter = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 22 0D 0A") + breakfast};
    QTest::newRow("DiaryRow 2 replaces only that row") << Visit{
        .day = records({"04.09.25 あさ", "04.09.24 ", "04.09.23 c", "04.09.22 d"}), .steps = revise(2, "あ"),
        .asked = {askStore}, .after = "あ[c]_",
        .dayAfter = records({"04.09.25 あさ", "04.09.24 ", "04.09.23 あc_", "04.09.22 d"})};
    QTest::newRow("no day.txt: today's row is offered and storing creates the file")
        << Visit{.steps = revise(0, "はれ"), .asked = {askStore}, .after = "はれ[_]", .dayAfter = sunny};
    QTest::newRow("a line break stays inside the record: 04.09.25 くもり はれ_") << Visit{
        .day = breakfast, .steps = revise(0, "くもり\nはれ"), .asked = {askStore}, .after = "くもり\nはれ[_]",
        .dayAfter = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 82 AD 82 E0 82 E8 20 82 CD 82 EA 5F 22 0D 0A")
                    + breakfast};
    QTest::newRow("a later date never takes today's text") << Visit{
        .day = records({"04.09.26 あした", "04.09.24 きのう"}), .steps = revise(0, "はれ"), .asked = {askStore},
        .after = "はれ[_]", .dayAfter = sunny + records({"04.09.24 きのう", "04.09.26 あした"})};
    QTest::newRow("NO stores nothing") << Visit{
        .day = breakfast, .steps = revise(0, "はれ"), .answers = {1}, .asked = {askStore}, .after = "はれ[_]"};
    QTest::newRow("日記終了 from the list asks nothing")
        << Visit{.day = breakfast, .steps = revise(0, "はれ", {"戻る", "日記終了"}), .after = "はれ[_]"};
    // "戻る" from revising with suggestions leaves no list behind: "決定"
    // opens the day instead of taking おはようございます, and "日記終了" asks.
    QTest::newRow("revising with suggestions, 戻る: 決定 opens the day") << Visit{
        .talk = records({kPlaceholder, "おはようございます"}), .day = breakfast,
        .steps = revise(0, "お", {"戻る", "決定", "日記終了"}), .asked = {askStore}, .after = "|_",
        .dayAfter = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 22 0D 0A") + breakfast};
    // The diary stays open with the words, so nothing typed is lost.
    QTest::newRow("the disk fails before the rename") << Visit{
        .day = breakfast, .fault = SaveFault::BeforeRename, .steps = revise(0, "はれ"),
        .asked = {askStore, "日記の終了|日記を保存できませんでした。\nディスクを読み書きできませんでした。ディスクを確かめて、もう一度お試しください。"
                                    "|OK"}, .after = "はれ[_]", .screen = "revising"};
    QTest::newRow("the top row is today's, not a damaged line's") << Visit{
        .day = records({"ab.cd.ef x"}) + breakfast, .steps = revise(0, "はれ"), .asked = {askStore},
        .after = "はれ[_]", .dayAfter = sunny + breakfast + records({"ab.cd.ef x"})};
    // A caregiver adds an old entry in an editor while the diary is open.
    QTest::newRow("day.txt changed by another program: merged") << Visit{
        .day = breakfast, .dayTheirs = breakfast + records({"04.09.20 むかし"}), .steps = revise(0, "はれ"),
        .asked = {askStore, kMerged.arg("日記の終了", "day.txt")}, .after = "はれ[_]",
        .dayAfter = sunny + breakfast + records({"04.09.20 むかし"})};
    const QString cannot = "日記の終了|「%1」に保存できない文字があります。「？」にして保存しますか？|ＹＥＳ|ＮＯ";
    // A day.txt saved as UTF-8 elsewhere is written back in code page 932.
    QTest::newRow("another day holds ゔ: asked once, ＹＥＳ writes ？") << Visit{
        .day = QStringLiteral("\"04.09.24 ゔぁ〜\"\r\n").toUtf8(), .steps = revise(0, "はれ"),
        .asked = {askStore, cannot.arg("04.09.24 ゔぁ〜")}, .after = "はれ[_]",
        .dayAfter = sunny + records({"04.09.24 ？ぁ～"})};
    QTest::newRow("another day holds ゔ: ＮＯ keeps the file as it is") << Visit{
        .day = QStringLiteral("\"04.09.24 ゔ\"\r\n").toUtf8(), .steps = revise(0, "はれ"), .answers = {0, 1},
        .asked = {askStore, cannot.arg("04.09.24 ゔ")}, .after = "はれ[_]", .screen = "revising"};
    QTest::newRow("a character code page 932 has no code for") << Visit{
        .day = breakfast, .steps = revise(0, "はれ😀"),
        .asked = {askStore, "日記の終了|「😀」は保存できない文字です|OK"}, .after = "はれ😀[_]", .screen = "revising"};
}

KEL_TEST(test_diaryscreens, TestDiaryScreens)
#include "test_diaryscreens.moc"

// The diary through its real buttons: the screens, the list read from
// day.txt, and what "日記終了" stores, byte for byte.

#include "base/AnsiText.h"
#include "samples/SampleDriving.h"

using namespace kel;

namespace {

const QString kAskStore = QStringLiteral("日記の終了|日記を登録して終了します|ＹＥＳ|ＮＯ");

// "04.09.24 朝ごはん", the file format's own example.
const QByteArray kBreakfast0924 =
    QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");
// "04.09.25 はれ_", the end marker stored with the text.
const QByteArray kSunny0925 = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 82 CD 82 EA 5F 22 0D 0A");

// Talk.txt holding only the placeholder, so that no suggestion appears while
// typing, and day.txt unless `day` is null.
std::map<QString, QByteArray> diaryFolder(const QByteArray &day)
{
    std::map<QString, QByteArray> files{{kSampleFileName, records({kPlaceholder})}};
    if (!day.isNull())
        files[QStringLiteral("day.txt")] = day;
    return files;
}

// An entry revised from the list and "日記終了" then, and what is left.
struct Store {
    QByteArray file = kBreakfast0924; // day.txt; null: none
    int row = 0;                      // touched on the list; today is 04.09.25
    QString typed = "はれ";           // with one touch on the board
    QString steps = "日記終了";
    QList<int> answers = {0};         // 0: ＹＥＳ, and OK to a notice
    bool diskFault = false;
    QStringList asked = {kAskStore};
    QByteArray stored = file;         // day.txt at the end
    QString entry = "はれ_";          // the box's text at the end
    QString caption = "例文表示";
};

} // namespace

Q_DECLARE_METATYPE(Store)

class TestDiaryScreens : public QObject {
    Q_OBJECT

private slots:
    void listIsReadFromFile_data();
    void listIsReadFromFile();
    void storing_data();
    void storing();
};

void TestDiaryScreens::listIsReadFromFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("04.09.24 on 04.09.25: an empty row for today first")
        << kBreakfast0924 << QDate(2004, 9, 25) << QStringList{"04.09.25|[]", "04.09.24|朝ごはん"};
    QTest::newRow("04.09.24 on the same day: no row added")
        << kBreakfast0924 << QDate(2004, 9, 24) << QStringList{"04.09.24|[朝ごはん]"};
    QTest::newRow("oldest first: newest first, and a second row for today")
        << records({"04.09.23 あ", "04.09.25 い"}) << QDate(2004, 9, 25)
        << QStringList{"04.09.25|[]", "04.09.25|い", "04.09.23|あ"};
    QTest::newRow("damaged dates are kept, below every real day")
        << records({"99.99.99 x", "04.09.25 い", "4.09.26 y", "04.09.24 あ"}) << QDate(2004, 9, 25)
        << QStringList{"04.09.25|[い]", "04.09.24|あ", "99.99.99|x", "4.09.26 |"};
}

void TestDiaryScreens::listIsReadFromFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QDate, today);
    TalkFixture f({}, diaryFolder(file));
    f.today = today;

    drive(f, "例文表示 決定");

    QTEST(rows(f.ui().grdDay), "listed");
    QCOMPARE(f.st().ListRow, 0);
    QCOMPARE(f.ui().grdDay->geometry(), f.ui().grdBoard->geometry());
    QCOMPARE(f.readFile("day.txt"), file);
}

void TestDiaryScreens::storing_data()
{
    QTest::addColumn<Store>("s");
    QTest::newRow("はれ_ on today's new row") << Store{.stored = kSunny0925 + kBreakfast0924};
    QTest::newRow("empty entry of 04.09.25")
        << Store{.typed = "", .stored = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 22 0D 0A") + kBreakfast0924,
                 .entry = "_"}; // the closed diary puts the end marker back
    QTest::newRow("DiaryRow 2 replaces only that row")
        << Store{.file = records({"04.09.25 あさ", "04.09.24 ", "04.09.23 c", "04.09.22 d"}), .row = 2, .typed = "あ",
                 .stored = records({"04.09.25 あさ", "04.09.24 ", "04.09.23 あc_", "04.09.22 d"}), .entry = "あc_"};
    QTest::newRow("no day.txt: today's row is offered and storing creates the file")
        << Store{.file = QByteArray(), .stored = kSunny0925};
    QTest::newRow("UTF-8 day.txt is written back in code page 932")
        << Store{.file = QStringLiteral("\"04.09.24 朝ごはん\"\r\n").toUtf8(), .stored = kSunny0925 + kBreakfast0924};
    QTest::newRow("a line break stays inside the record: 04.09.25 くもり はれ_")
        << Store{.typed = "くもり\nはれ", .stored = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 82 AD 82 E0 82 E8 20 82 CD 82 EA 5F 22 0D 0A") + kBreakfast0924,
                 .entry = "くもり\nはれ_"};
    QTest::newRow("NO stores nothing") << Store{.answers = {1}};
    QTest::newRow("日記終了 from the list asks nothing") << Store{.steps = "戻る 日記終了", .asked = {}};
    // The diary stays open with the words, so nothing typed is lost.
    QTest::newRow("the disk fails before the rename")
        << Store{.answers = {0, 0}, .diskFault = true,
                 .asked = {kAskStore, "日記の終了|日記を保存できませんでした|OK"}, .caption = "日記終了"};
    QTest::newRow("the top row is today's, not a damaged line's")
        << Store{.file = records({"ab.cd.ef x"}) + kBreakfast0924,
                 .stored = kSunny0925 + kBreakfast0924 + records({"ab.cd.ef x"})};
    QTest::newRow("another day holds ゔ: asked once, ＹＥＳ writes ？")
        << Store{.file = QStringLiteral("\"04.09.24 ゔぁ〜\"\r\n").toUtf8(), .answers = {0, 0},
                 .asked = {kAskStore, "日記の終了|「04.09.24 ゔぁ〜」に保存できない文字があります。"
                                      "「？」にして保存しますか？|ＹＥＳ|ＮＯ"},
                 .stored = kSunny0925 + records({"04.09.24 ？ぁ～"})};
    QTest::newRow("another day holds ゔ: ＮＯ keeps the file as it is")
        << Store{.file = QStringLiteral("\"04.09.24 ゔ\"\r\n").toUtf8(), .answers = {0, 1},
                 .asked = {kAskStore, "日記の終了|「04.09.24 ゔ」に保存できない文字があります。"
                                      "「？」にして保存しますか？|ＹＥＳ|ＮＯ"},
                 .caption = "日記終了"};
    QTest::newRow("a character code page 932 has no code for")
        << Store{.typed = "はれ😀", .answers = {0, 0}, .asked = {kAskStore, "日記の終了|「😀」は保存できない文字です|OK"},
                 .entry = "はれ😀_", .caption = "日記終了"};
}

void TestDiaryScreens::storing()
{
    QFETCH(Store, s);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(s.file));
    drive(f, "例文表示 決定");
    f.touchCell(f.ui().grdDay, s.row, 1);
    drive(f, "決定 修正する");
    if (!s.typed.isEmpty()) {
        f.ui().grdBoard->setTextMatrix(0, 0, s.typed);
        f.touchCell(f.ui().grdBoard, 0, 0);
    }
    setSaveFaultForTesting(s.diskFault ? SaveFault::BeforeRename : SaveFault::None);
    const QStringList asked = drive(f, s.steps, s.answers);
    setSaveFaultForTesting(SaveFault::None);

    QCOMPARE(asked, s.asked);
    QCOMPARE(f.readFile("day.txt"), s.stored);
    QCOMPARE(folderEntries(f), (QStringList{"Talk.txt", "day.txt"}));
    QCOMPARE(f.box()->text(), s.entry);
    QCOMPARE(f.ui().cmdSamp->text(), s.caption);
}

QTEST_MAIN(TestDiaryScreens)
#include "test_diaryscreens.moc"

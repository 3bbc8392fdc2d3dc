// The diary through its real buttons: the screens, the list read from
// day.txt, and what "日記終了" stores, byte for byte.

#include "app/AnsiText.h"
#include "board/BoardLayout.h"
#include "samples/SampleDriving.h"

using namespace kel;

namespace {

const QColor kGreen(128, 255, 128);
const QColor kWhite(255, 255, 255);
const QString kAskStore = QStringLiteral("日記の終了|日記を登録して終了します|ＹＥＳ|ＮＯ");

// "04.09.24 朝ごはん", the file format's own example.
const QByteArray kBreakfast0924 =
    QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");

// Talk.txt holding only the placeholder, so that no suggestion appears while
// typing, and day.txt unless `day` is null.
std::map<QString, QByteArray> diaryFolder(const QByteArray &day)
{
    std::map<QString, QByteArray> files = talkFile(records({kPlaceholder}));
    if (!day.isNull())
        files[QStringLiteral("day.txt")] = day;
    return files;
}

// Presses the buttons named in `steps` in turn, answering each question with
// `answers` (0 YES, 1 NO); returns what was asked.
QStringList drive(TalkFixture &f, const QString &steps, std::initializer_list<int> answers = {1})
{
    Controls &u = f.ui();
    const std::map<QString, QWidget *> buttons{{"例文表示", u.cmdSamp}, {"日記終了", u.cmdSamp},
                                               {"決定", u.cmdDec},      {"修正する", u.cmdRevise},
                                               {"戻る", u.cmdBack}};
    DialogScript dialogs(answers);
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        f.click(buttons.at(step));
        f.settle();
    }
    return dialogs.seen;
}

// Types hiragana by touching board cells; with "OPT1" = "2" a touch enters
// its character at once.
void typeOnBoard(TalkFixture &f, const QString &kana)
{
    for (const QChar ch : kana) {
        bool found = false;
        for (int r = 0; r < kBoardRows && !found; ++r)
            for (int c = 0; c <= f.st().MaxC && !found; ++c)
                if ((found = boardCellText(BoardMode::Hiragana, f.st().MaxC, r, c) == ch)) {
                    f.touchCell(f.ui().grdBoard, r, c);
                    f.settle();
                }
        QVERIFY2(found, qPrintable(QString(ch)));
    }
}

} // namespace

class TestDiaryScreens : public QObject {
    Q_OBJECT

private slots:
    void screens_data();
    void screens();
    void listIsReadFromFile_data();
    void listIsReadFromFile();
    void roundTripThroughButtons_data();
    void roundTripThroughButtons();
    void storesNothing_data();
    void storesNothing();
    void revisingBringsTheEditingKeysToTheFront();
    void failedStoreKeepsFileAndText_data();
    void failedStoreKeepsFileAndText();
};

void TestDiaryScreens::screens_data()
{
    QTest::addColumn<QString>("steps"); // after "例文表示" and "決定" on the "日記" row
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("captions"); // cmdSamp|cmdWide
    QTest::addColumn<QString>("heights");  // fraText/txtTalk in twips
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QString>("text");
    // Today's stored entry is 朝ごはん. The window is 8670 twips high outside,
    // so the wide state is 8670 - 2230 / 8670 - 2380.
    const QString diary = "日記終了|広げる", narrow = "1635/1455";
    const QStringList board{"grdBoard", "fraRes", "cmdSampADD"};
    QTest::newRow("list") << "" << QStringList{"grdDay", "fraTalk"} << diary << narrow << kWhite << "|_";
    QTest::newRow("entry open") << "決定" << QStringList{"fraDay"} << "日記終了|狭める" << "6440/6290"
                                << kGreen << "朝ごはん|";
    QTest::newRow("revising") << "決定 修正する" << QStringList{"grdBoard", "fraRes", "fraDay"} << diary
                              << narrow << kGreen << "朝ごは[ん]";
    QTest::newRow("back from the entry") << "決定 戻る" << QStringList{"grdDay", "fraTalk"} << diary
                                         << narrow << kGreen << "朝ごはん|";
    QTest::newRow("back while revising") << "決定 修正する 戻る"
                                         << QStringList{"grdDay", "grdBoard", "fraRes", "fraTalk"}
                                         << diary << narrow << kGreen << "朝ごは[ん]";
    QTest::newRow("closed from the list") << "日記終了" << board << "例文表示|広げる" << narrow
                                          << kWhite << "|_";
    QTest::newRow("closed from the wide entry") << "決定 日記終了" << board << "例文表示|広げる"
                                                << narrow << kWhite << "朝ごはん|_";
}

void TestDiaryScreens::screens()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, shown);
    QFETCH(QString, captions);
    QFETCH(QString, heights);
    QFETCH(QColor, back);
    QFETCH(QString, text);
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    f.today = QDate(2004, 9, 24);
    Controls &u = f.ui();

    drive(f, "例文表示 決定 " + steps);

    QCOMPARE(kel::shown({u.grdDay, u.grdEx, u.grdSp, u.grdBoard, u.fraRes, u.fraTalk, u.fraDay,
                         u.cmdSampADD, u.cmdSampDel}),
             shown);
    QCOMPARE(u.cmdSamp->text() + u'|' + u.cmdWide->text(), captions);
    QCOMPARE(QStringLiteral("%1/%2").arg(f.talk().layout.rect(u.fraText).height())
                 .arg(f.talk().layout.rect(u.txtTalk).height()), heights);
    QCOMPARE(u.txtTalk->backColor(), back);
    QCOMPARE(f.marked(), text);
    QVERIFY(u.frmTalk->isEnabled());
    QCOMPARE(u.frmTalk->focusWidget(), u.txtTalk);
}

void TestDiaryScreens::listIsReadFromFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("04.09.24 on 04.09.25: an empty row for today first")
        << kBreakfast0924 << QDate(2004, 9, 25) << QStringList{"04.09.25|", "04.09.24|朝ごはん"};
    QTest::newRow("04.09.24 on the same day: no row added")
        << kBreakfast0924 << QDate(2004, 9, 24) << QStringList{"04.09.24|朝ごはん"};
    QTest::newRow("oldest first: newest first, and a second row for today")
        << records({"04.09.23 あ", "04.09.25 い"}) << QDate(2004, 9, 25)
        << QStringList{"04.09.25|", "04.09.25|い", "04.09.23|あ"};
}

void TestDiaryScreens::listIsReadFromFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QDate, today);
    QFETCH(QStringList, listed);
    TalkFixture f({}, diaryFolder(file));
    f.today = today;

    drive(f, "例文表示 決定");

    FlexGrid *g = f.ui().grdDay;
    QCOMPARE(rows(g), listed);
    QCOMPARE(f.st().ListRow, 0);
    for (int r = 0; r < g->Rows(); ++r)
        QCOMPARE(g->cellBackColor(r, 1), r == 0 ? kGreen : kWhite);
    QCOMPARE(g->geometry(), f.ui().grdBoard->geometry());
    QCOMPARE(f.readFile("day.txt"), file);
}

void TestDiaryScreens::roundTripThroughButtons_data()
{
    QTest::addColumn<QByteArray>("file"); // null: no day.txt
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("stored");
    // "04.09.25 はれ_", the end marker stored with the text.
    const QByteArray today = QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 82 CD 82 EA 5F 22 0D 0A");
    QTest::newRow("はれ_ on today's new row") << kBreakfast0924 << 0 << "はれ" << "はれ_"
                                              << today + kBreakfast0924;
    QTest::newRow("empty entry of 04.09.25")
        << kBreakfast0924 << 0 << "" << ""
        << QByteArray::fromHex("22 30 34 2E 30 39 2E 32 35 20 22 0D 0A") + kBreakfast0924;
    QTest::newRow("DiaryRow 2 replaces only that row")
        << records({"04.09.25 あさ", "04.09.24 ", "04.09.23 c", "04.09.22 d"}) << 2 << "あ" << "あc_"
        << records({"04.09.25 あさ", "04.09.24 ", "04.09.23 あc_", "04.09.22 d"});
    QTest::newRow("no day.txt: today's row is offered and storing creates the file")
        << QByteArray() << 0 << "はれ" << "はれ_" << today;
    QTest::newRow("UTF-8 day.txt is written back in code page 932")
        << QStringLiteral("\"04.09.24 朝ごはん\"\r\n").toUtf8() << 0 << "はれ" << "はれ_"
        << today + kBreakfast0924;
}

void TestDiaryScreens::roundTripThroughButtons()
{
    QFETCH(QByteArray, file);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, entry);
    QFETCH(QByteArray, stored);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    Controls &u = f.ui();
    drive(f, "例文表示 決定");
    f.touchCell(u.grdDay, row, 1);
    drive(f, "決定 修正する");
    typeOnBoard(f, typed);
    QCOMPARE(f.box()->text(), entry);

    QCOMPARE(drive(f, "日記終了", {0}), QStringList{kAskStore});

    QCOMPARE(f.readFile("day.txt"), stored);
    QCOMPARE(folderEntries(f), (QStringList{"Talk.txt", "day.txt"}));
    QCOMPARE(u.cmdSamp->text(), QStringLiteral("例文表示"));
    drive(f, "例文表示 決定");
    QCOMPARE(u.grdDay->TextMatrix(row, 1), entry);
}

void TestDiaryScreens::storesNothing_data()
{
    QTest::addColumn<QString>("steps"); // after typing into today's entry
    QTest::addColumn<QStringList>("asked");
    QTest::newRow("NO") << "日記終了" << QStringList{kAskStore};
    QTest::newRow("日記終了 from the list asks nothing") << "戻る 日記終了" << QStringList();
}

void TestDiaryScreens::storesNothing()
{
    QFETCH(QString, steps);
    QFETCH(QStringList, asked);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(kBreakfast0924));
    drive(f, "例文表示 決定 決定 修正する");
    typeOnBoard(f, QStringLiteral("はれ"));

    QCOMPARE(drive(f, steps), asked);

    QCOMPARE(f.readFile("day.txt"), kBreakfast0924);
    QCOMPARE(f.box()->text(), QStringLiteral("はれ_"));
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestDiaryScreens::revisingBringsTheEditingKeysToTheFront()
{
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    f.today = QDate(2004, 9, 24);
    Controls &u = f.ui();
    auto topmostAt = [&](QWidget *w) {
        return u.canvas->childAt(w->mapTo(u.canvas, w->rect().center()));
    };
    drive(f, "例文表示 決定 決定");
    QCOMPARE(topmostAt(u.cmdRevise), u.cmdRevise); // the entry shows "修正する", "戻る"
    drive(f, "修正する");
    QCOMPARE(topmostAt(u.cmdRes[1]), u.cmdRes[1]); // revising shows the editing keys
    QCOMPARE(f.marked(), QStringLiteral("朝ごは[ん]"));
    f.press(u.cmdRes[1]); // "ＢＳ" deletes under the block
    f.release(u.cmdRes[1]);
    f.settle();
    QCOMPARE(f.box()->text(), QStringLiteral("朝ごは"));
}

void TestDiaryScreens::failedStoreKeepsFileAndText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("diskFault");
    QTest::addColumn<QString>("notice");
    QTest::newRow("the disk fails before the rename")
        << "はれ_" << true << "日記の終了|日記を保存できませんでした|OK";
    QTest::newRow("a character code page 932 has no code for")
        << "はれ😀_" << false << "日記の終了|「😀」は保存できない文字です|OK";
}

void TestDiaryScreens::failedStoreKeepsFileAndText()
{
    QFETCH(QString, text);
    QFETCH(bool, diskFault);
    TalkFixture f({}, diaryFolder(kBreakfast0924));
    drive(f, "例文表示 決定 決定 修正する");
    f.box()->setText(text);
    setSaveFaultForTesting(diskFault ? SaveFault::BeforeRename : SaveFault::None);
    const QStringList asked = drive(f, "日記終了", {0, 0});
    setSaveFaultForTesting(SaveFault::None);

    QFETCH(QString, notice);
    QCOMPARE(asked, (QStringList{kAskStore, notice}));
    QCOMPARE(f.readFile("day.txt"), kBreakfast0924);
    QCOMPARE(folderEntries(f), (QStringList{"Talk.txt", "day.txt"}));
    // The diary stays open with the words, so nothing typed is lost.
    QCOMPARE(f.box()->text(), text);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("日記終了"));
}

QTEST_MAIN(TestDiaryScreens)
#include "test_diaryscreens.moc"

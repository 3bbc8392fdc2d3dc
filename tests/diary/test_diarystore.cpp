// The faults that must never cost a day's words: a failed write, text that
// code page 932 cannot hold, and a day.txt the program cannot read
// correctly. Each is told in a notice; the file stays as it was, and the
// diary stays open with the text so that the user can store again.

#include "diary/DiaryDriving.h"

using namespace kel;

Q_DECLARE_METATYPE(kel::SaveFault)

namespace {

const SeenDialog kNotSaved{"日記の終了", "日記を保存できませんでした", {"OK"}};
const SeenDialog kUnreadable{"日記の終了", "日記ファイルが読めないため保存できません", {"OK"}};

SeenDialog unencodable(const QString &character)
{
    return {"日記の終了", QStringLiteral("「%1」は保存できない文字です").arg(character), {"OK"}};
}

// Today's row opened, revised and `kana` typed on the board.
void writeToday(TalkFixture &f, const QString &kana)
{
    openDiary(f);
    openEntry(f, 0);
    revise(f);
    QVERIFY(typeOnBoard(f, kana));
}

void expectDiaryStillOpen(TalkFixture &f, const QString &text)
{
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("日記終了"));
    QVERIFY(f.ui().fraDay->isVisible());
    QCOMPARE(f.box()->text(), text);
    QCOMPARE(f.ui().frmTalk->focusWidget(), f.ui().txtTalk);
}

} // namespace

class TestDiaryStore : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }

    void failedWriteKeepsFile_data();
    void failedWriteKeepsFile();
    void textOutsideCp932IsRefused_data();
    void textOutsideCp932IsRefused();
    void storedEntryOutsideCp932BlocksStore();
    void unreadableFileIsNeverOverwritten_data();
    void unreadableFileIsNeverOverwritten();
};

void TestDiaryStore::failedWriteKeepsFile_data()
{
    QTest::addColumn<SaveFault>("fault");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("disk full, file there") << SaveFault::Write << kBreakfast0924;
    QTest::newRow("rename fails, file there") << SaveFault::BeforeRename << kBreakfast0924;
    QTest::newRow("disk full, no file yet") << SaveFault::Write << QByteArray();
}

void TestDiaryStore::failedWriteKeepsFile()
{
    QFETCH(SaveFault, fault);
    QFETCH(QByteArray, file);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    writeToday(f, QStringLiteral("はれ"));
    const QStringList entriesBefore = folderEntries(f);
    setSaveFaultForTesting(fault);

    QCOMPARE(endDiary(f, {0, 0}), (QList<SeenDialog>{kAskStore, kNotSaved}));

    QCOMPARE(f.readFile("day.txt"), file);
    QCOMPARE(folderEntries(f), entriesBefore); // no temporary left behind
    expectDiaryStillOpen(f, QStringLiteral("はれ_"));

    // Once the disk takes it again, the same text is stored.
    setSaveFaultForTesting(SaveFault::None);
    QCOMPARE(endDiary(f, {0}), QList<SeenDialog>{kAskStore});
    QCOMPARE(f.readFile("day.txt"), dayRecord("04.09.25", "はれ_") + file);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestDiaryStore::textOutsideCp932IsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");
    QTest::newRow("emoji") << QStringLiteral("はれ😀_") << QStringLiteral("😀");
    QTest::newRow("ゔ U+3094") << QStringLiteral("ゔぁいおりん_") << QStringLiteral("ゔ");
    QTest::newRow("wave dash U+301C") << QStringLiteral("あ〜あ_") << QStringLiteral("〜");
}

void TestDiaryStore::textOutsideCp932IsRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(kBreakfast0924));
    writeToday(f, QStringLiteral("は"));
    f.setText(text, 0); // as a paste would leave it

    QCOMPARE(endDiary(f, {0, 0}), (QList<SeenDialog>{kAskStore, unencodable(character)}));

    QCOMPARE(f.readFile("day.txt"), kBreakfast0924);
    expectDiaryStillOpen(f, text);
}

void TestDiaryStore::storedEntryOutsideCp932BlocksStore()
{
    // A UTF-8 file may hold what code page 932 cannot: storing would lose it.
    const QByteArray file = QStringLiteral("\"04.09.24 ゔ\"\r\n").toUtf8();
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    writeToday(f, QStringLiteral("はれ"));

    QCOMPARE(endDiary(f, {0, 0}), (QList<SeenDialog>{kAskStore, unencodable("ゔ")}));

    QCOMPARE(f.readFile("day.txt"), file);
    expectDiaryStillOpen(f, QStringLiteral("はれ_"));
}

void TestDiaryStore::unreadableFileIsNeverOverwritten_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shownEntry");
    // Yesterday's 朝ごはん, then a byte no code page 932 character begins
    // with, then a lone lead byte at the very end.
    QTest::newRow("not code page 932 nor UTF-8")
        << kBreakfast0924 + QByteArray::fromHex("2230342E30392E323320A0FD220D0A" "2282")
        << QStringLiteral("朝ごはん");
    QTest::newRow("UTF-8 byte-order mark, then bad bytes")
        << QByteArray::fromHex("EFBBBF" "2230342E30392E323420FF220D0A") << QString();
}

void TestDiaryStore::unreadableFileIsNeverOverwritten()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, shownEntry);
    TalkFixture f({{"OPT1", "2"}}, diaryFolder(file));
    openDiary(f);
    // Shown as far as it can be read, today's row first.
    QCOMPARE(f.ui().grdDay->TextMatrix(0, 0), QStringLiteral("04.09.25"));
    if (!shownEntry.isEmpty())
        QCOMPARE(f.ui().grdDay->TextMatrix(1, 1), shownEntry);
    openEntry(f, 0);
    revise(f);
    QVERIFY(typeOnBoard(f, QStringLiteral("はれ")));

    QCOMPARE(endDiary(f, {0, 0}), (QList<SeenDialog>{kAskStore, kUnreadable}));

    QCOMPARE(f.readFile("day.txt"), file);
    expectDiaryStillOpen(f, QStringLiteral("はれ_"));
    // Leaving with NO is always possible.
    QCOMPARE(endDiary(f, {1}), QList<SeenDialog>{kAskStore});
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
    QCOMPARE(f.readFile("day.txt"), file);
}

QTEST_MAIN(TestDiaryStore)
#include "test_diarystore.moc"

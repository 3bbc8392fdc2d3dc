// Talk.txt as the screens read and write it: byte-exact round trips, long
// lists and lines, the files a user may already have, a fresh installation,
// and the faults that must never cost a stored sentence (a failed save, a
// file in another encoding, a character code page 932 has no code for).

#include "samples/DialogScript.h"
#include "samples/SampleBytes.h"
#include "support/TalkFixture.h"

#include <QDir>

using namespace kel;

Q_DECLARE_METATYPE(kel::SaveFault)

namespace {

const SeenDialog kSaveFailed{"例文登録", "例文を保存できませんでした", {"OK"}};
const SeenDialog kFileUnreadable{"例文登録", "例文ファイルが読めないため保存できません", {"OK"}};

std::map<QString, QByteArray> talkFile(const QByteArray &bytes)
{
    return {{QStringLiteral("Talk.txt"), bytes}};
}

QStringList folderEntries(const TalkFixture &f)
{
    return QDir(f.home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Adds `sentence` with "例文追加", answering every notice with its button.
QList<SeenDialog> add(TalkFixture &f, const QString &sentence)
{
    f.setText(sentence + QLatin1Char('_'), 0);
    DialogScript dialogs({0, 0});
    f.click(f.ui().cmdSampADD);
    return dialogs.seen;
}

} // namespace

class TestSampleStore : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }

    void userFileIsReadAndRewrittenExactly();
    void addThenDeleteRestoresFileByteForByte();
    void lineLongerThan16BitsIsReadWhole();
    void longListBeyond16BitRows();

    void missingFileIsCreated_data();
    void missingFileIsCreated();
    void existingFileIsNeverReplaced_data();
    void existingFileIsNeverReplaced();
    void emptyFileGivesOneEmptySample();

    void failedSaveKeepsOldFileAndTells_data();
    void failedSaveKeepsOldFileAndTells();
    void failedDeletionKeepsSentence();
    void unreadableTargetIsNotOverwritten();

    void utf8FileIsReadAndSavedAsCp932_data();
    void utf8FileIsReadAndSavedAsCp932();
    void invalidFileIsNeverOverwritten();
    void sentenceOutsideCp932IsRefused_data();
    void sentenceOutsideCp932IsRefused();
    void storedSentenceOutsideCp932BlocksSave();
};

void TestSampleStore::userFileIsReadAndRewrittenExactly()
{
    // A hand-kept file: blank lines, lines of spaces, a bare text, spaces
    // inside the quotes, quotes inside the text, an empty record, a lone CR,
    // a lone LF, code page 932's own characters, no final line end.
    const QByteArray file = kPlaceholderRecord
                            + QByteArray::fromHex("0D0A" "2020200D0A"
                                                  "82B182F182C982BF82CD0D0A"  // こんにちは, bare
                                                  "22202082A082A282A4202020220D0A" // "  あいう   "
                                                  "22612262226322" "0D"       // "a"b"c", lone CR
                                                  "2222" "0A"                 // "", lone LF
                                                  "22816022" "0D0A"           // ～ U+FF5E
                                                  "22817C22" "0D0A"           // － U+FF0D
                                                  "22874022874022");          // "①"①", no line end
    TalkFixture f({}, talkFile(file));
    QCOMPARE(*f.st().Samples,
             QStringList({kPlaceholder, "こんにちは", "あいう", "abc", "", "～", "－", "①①"}));

    QVERIFY(add(f, "はい").isEmpty());

    // The rows of the start-up build (sorted by character code, placeholder
    // first, the empty record dropped), then the addition.
    QCOMPARE(f.readFile("Talk.txt"),
             kPlaceholderRecord + QByteArray::fromHex("22616263220D0A"               // abc
                                                      "2287408740220D0A"             // ①①
                                                      "2282A082A282A4220D0A"         // あいう
                                                      "2282B182F182C982BF82CD220D0A" // こんにちは
                                                      "22817C220D0A"                 // －
                                                      "228160220D0A"                 // ～
                                                      "2282CD82A2220D0A"));          // はい
}

void TestSampleStore::addThenDeleteRestoresFileByteForByte()
{
    const QByteArray file = records({kPlaceholder, "あさ", "ごはん", "トイレ", "水"});
    TalkFixture f({}, talkFile(file));
    QVERIFY(add(f, "おちゃ").isEmpty());
    QVERIFY(f.readFile("Talk.txt") != file);
    DialogScript dialogs({0});
    f.click(f.ui().cmdSampDel);
    QCOMPARE(dialogs.seen.size(), 1);
    QCOMPARE(f.readFile("Talk.txt"), file);
}

void TestSampleStore::lineLongerThan16BitsIsReadWhole()
{
    const QString longSentence(40000, QChar(u'あ'));
    TalkFixture f({}, talkFile(records({kPlaceholder, longSentence, "はい"})));
    QCOMPARE(f.st().Samples->value(1), longSentence);
    QCOMPARE(f.ui().grdEx->TextMatrix(1, 1), longSentence);
}

void TestSampleStore::longListBeyond16BitRows()
{
    QStringList file{kPlaceholder};
    for (int i = 0; i < 40000; ++i)
        file << QStringLiteral("か%1").arg(i, 5, 10, QLatin1Char('0'));
    TalkFixture f({}, talkFile(records(file)));

    // A sentence far beyond row 32,767 is still found as a duplicate...
    f.setText("か39999_", 0);
    DialogScript dialogs({0});
    f.click(f.ui().cmdSampADD);
    QCOMPARE(dialogs.seen.size(), 1);

    // ...and a new one sorting last is highlighted on its row.
    f.setText("ん_", 0);
    f.click(f.ui().cmdSampADD);
    QCOMPARE(dialogs.seen.size(), 1);
    QCOMPARE(f.ui().grdEx->Rows(), 40002);
    QCOMPARE(f.st().ListRow, 40001);
    QCOMPARE(f.ui().grdEx->TextMatrix(40001, 1), QStringLiteral("ん"));
    QCOMPARE(f.ui().grdEx->cellBackColor(40001, 1), QColor(128, 255, 128));
}

void TestSampleStore::missingFileIsCreated_data()
{
    QTest::addColumn<bool>("diaryExists");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("fresh installation: everyday sentences") << false << freshSampleSentences();
    QTest::newRow("diary kept: placeholder only") << true << QStringList{kPlaceholder};
}

void TestSampleStore::missingFileIsCreated()
{
    QFETCH(bool, diaryExists);
    QFETCH(QStringList, sentences);
    std::map<QString, QByteArray> files;
    if (diaryExists)
        files[QStringLiteral("day.txt")] = QByteArray("\"04.09.24\",\"\"\r\n");
    TalkFixture f({}, files);

    const QByteArray created = f.readFile("Talk.txt");
    QVERIFY(created.startsWith(kPlaceholderRecord));
    QCOMPARE(created, records(sentences));
    QCOMPARE(*f.st().Samples, sentences);
    f.click(f.ui().cmdSamp);
    QCOMPARE(f.ui().grdEx->Rows(), sentences.size());
    QCOMPARE(f.ui().grdEx->TextMatrix(0, 1), QStringLiteral("日記"));
}

void TestSampleStore::existingFileIsNeverReplaced_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("without placeholder")
        << records({"こんにちは"}) << QStringList{"日記", "こんにちは"};
    QTest::newRow("placeholder only") << kPlaceholderRecord << QStringList{"日記"};
    QTest::newRow("empty") << QByteArray() << QStringList{"日記"};
}

void TestSampleStore::existingFileIsNeverReplaced()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, listed);
    TalkFixture f({}, talkFile(file));
    f.click(f.ui().cmdSamp);
    f.click(f.ui().cmdSamp);
    QCOMPARE(f.readFile("Talk.txt"), file);
    f.click(f.ui().cmdSamp);
    QCOMPARE(column(f.ui().grdEx, 1), listed);

    // The first save brings the placeholder back.
    f.click(f.ui().cmdSamp);
    QVERIFY(add(f, "はい").isEmpty());
    QVERIFY(f.readFile("Talk.txt").startsWith(kPlaceholderRecord));
}

void TestSampleStore::emptyFileGivesOneEmptySample()
{
    TalkFixture f({}, talkFile(QByteArray()));
    QCOMPARE(*f.st().Samples, QStringList{QString()});
}

void TestSampleStore::failedSaveKeepsOldFileAndTells_data()
{
    QTest::addColumn<SaveFault>("fault");
    QTest::newRow("full disk while writing") << SaveFault::Write;
    QTest::newRow("crash between write and rename") << SaveFault::BeforeRename;
}

void TestSampleStore::failedSaveKeepsOldFileAndTells()
{
    QFETCH(SaveFault, fault);
    const QByteArray file = records({kPlaceholder, "おはよう"});
    TalkFixture f({}, talkFile(file));
    setSaveFaultForTesting(fault);

    QCOMPARE(add(f, "ありがとう"), QList<SeenDialog>{kSaveFailed});

    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(folderEntries(f), QStringList{"Talk.txt"}); // no temporary left
    // The screen shows what the file holds, not the lost sentence.
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
    QVERIFY(f.ui().grdBoard->isVisible());
    QCOMPARE(column(f.ui().grdEx, 1), QStringList({kPlaceholder, "おはよう"}));
    QVERIFY(!f.st().Samples->contains(QStringLiteral("ありがとう")));

    setSaveFaultForTesting(SaveFault::None);
    QVERIFY(add(f, "ありがとう").isEmpty());
    QCOMPARE(f.readFile("Talk.txt"), records({kPlaceholder, "おはよう", "ありがとう"}));
}

void TestSampleStore::failedDeletionKeepsSentence()
{
    TalkFixture f({}, talkFile(records({kPlaceholder, "おはよう"})));
    QVERIFY(add(f, "はい").isEmpty());
    const QByteArray stored = f.readFile("Talk.txt");
    setSaveFaultForTesting(SaveFault::BeforeRename);

    DialogScript dialogs({0, 0});
    f.click(f.ui().cmdSampDel);

    QCOMPARE(dialogs.seen.size(), 2);
    QCOMPARE(dialogs.seen.at(1), kSaveFailed);
    QCOMPARE(f.readFile("Talk.txt"), stored);
    QCOMPARE(f.ui().grdEx->TextMatrix(f.st().ListRow, 1), QStringLiteral("はい"));
}

void TestSampleStore::unreadableTargetIsNotOverwritten()
{
    TalkFixture f;
    // Replace the file by a folder of the same name: neither readable as a
    // file nor replaceable by one.
    QVERIFY(QFile::remove(f.path("Talk.txt")));
    QVERIFY(QDir(f.home.path()).mkdir(QStringLiteral("Talk.txt")));
    f.click(f.ui().cmdSamp);
    QCOMPARE(column(f.ui().grdEx, 1), QStringList{"日記"});
    f.click(f.ui().cmdSamp);

    QCOMPARE(add(f, "はい"), QList<SeenDialog>{kFileUnreadable});
    QVERIFY(QFileInfo(f.path("Talk.txt")).isDir());
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestSampleStore::utf8FileIsReadAndSavedAsCp932_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray text = QStringLiteral("\"おはよう\"\n\"ありがとう～\"\n").toUtf8();
    QTest::newRow("with byte-order mark") << QByteArray("\xEF\xBB\xBF") + text;
    QTest::newRow("without byte-order mark") << text;
}

void TestSampleStore::utf8FileIsReadAndSavedAsCp932()
{
    QFETCH(QByteArray, file);
    TalkFixture f({}, talkFile(file));
    QCOMPARE(*f.st().Samples, QStringList({"おはよう", "ありがとう～"}));

    QVERIFY(add(f, "はい").isEmpty());

    QCOMPARE(f.readFile("Talk.txt"),
             kPlaceholderRecord
                 + QByteArray::fromHex("2282A082E882AA82C682A48160220D0A"  // ありがとう～
                                       "2282A882CD82E682A4220D0A"          // おはよう
                                       "2282CD82A2220D0A"));               // はい
}

void TestSampleStore::invalidFileIsNeverOverwritten()
{
    // あ, then a byte no code page 932 character begins with, then a lone
    // lead byte at the end.
    const QByteArray file = QByteArray::fromHex("2282A0220D0A" "22A0FD220D0A" "2282");
    TalkFixture f({}, talkFile(file));
    f.click(f.ui().cmdSamp);
    QVERIFY(column(f.ui().grdEx, 1).contains(QStringLiteral("あ")));
    f.click(f.ui().cmdSamp);

    QCOMPARE(add(f, "はい"), QList<SeenDialog>{kFileUnreadable});
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestSampleStore::sentenceOutsideCp932IsRefused_data()
{
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("character");
    QTest::newRow("emoji") << QStringLiteral("おはよう😀") << QStringLiteral("😀");
    QTest::newRow("ゔ U+3094") << QStringLiteral("ゔぁいおりん") << QStringLiteral("ゔ");
    QTest::newRow("wave dash U+301C") << QStringLiteral("あ〜あ") << QStringLiteral("〜");
}

void TestSampleStore::sentenceOutsideCp932IsRefused()
{
    QFETCH(QString, sentence);
    QFETCH(QString, character);
    const QByteArray file = records({kPlaceholder, "おはよう"});
    TalkFixture f({}, talkFile(file));

    QCOMPARE(add(f, sentence),
             QList<SeenDialog>({{"例文登録", QStringLiteral("「%1」は保存できない文字です").arg(character),
                                 {"OK"}}}));
    QCOMPARE(f.readFile("Talk.txt"), file);
    QCOMPARE(folderEntries(f), QStringList{"Talk.txt"});
    QCOMPARE(f.ui().grdEx->Rows(), 2);
    QCOMPARE(f.ui().cmdSamp->text(), QStringLiteral("例文表示"));
}

void TestSampleStore::storedSentenceOutsideCp932BlocksSave()
{
    // Read from a UTF-8 file, the emoji sentence cannot be written back:
    // saving anything would lose it, so the file is left as it is.
    const QByteArray file = QStringLiteral("\"ねこ😺\"\r\n").toUtf8();
    TalkFixture f({}, talkFile(file));
    QCOMPARE(add(f, "はい"), QList<SeenDialog>({{"例文登録", "「😺」は保存できない文字です", {"OK"}}}));
    QCOMPARE(f.readFile("Talk.txt"), file);
}

QTEST_MAIN(TestSampleStore)
#include "test_samplestore.moc"

// Talk.txt: reading the sentences from the file's bytes, writing the list
// back byte for byte, keeping the placeholder, and the starter sentences.

#include "samples/SampleFile.h"

#include <QSet>
#include <QTest>

using namespace kel;

namespace {

QByteArray hex(const char *spacedHex)
{
    return QByteArray::fromHex(spacedHex);
}

// "ああああ日記ダミー消さないでね！" as a record: 36 bytes.
const QByteArray kPlaceholderRecord =
    hex("22 82 A0 82 A0 82 A0 82 A0 93 FA 8B 4C 83 5F 83 7E 81 5B 8F C1 82 B3 82 C8 82 A2 82 C5"
        " 82 CB 81 49 22 0D 0A");

QStringList readSamples(const QByteArray &bytes)
{
    return parseSamples(decodeTextFile(bytes).text);
}

} // namespace

class TestSampleFile : public QObject {
    Q_OBJECT

private slots:
    void readsSentences_data();
    void readsSentences();
    void writesRecords_data();
    void writesRecords();
    void refusesSentenceOutsideCp932();
    void loadAfterSaveKeepsRowsInOrder();
    void tellsWhenPlaceholderIsMissing_data();
    void tellsWhenPlaceholderIsMissing();
    void everydaySentencesAreUsable();
    void freshFileHoldsPlaceholderAndEverydaySentences();
};

void TestSampleFile::readsSentences_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("sentences");

    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("record") << hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A")
                            << QStringList{"こんにちは"};
    QTest::newRow("blank lines and lines of spaces are skipped")
        << QByteArray("\r\n   \r\n\"a\"\r\n\r\n  \r\n\"b\"\r\n") << QStringList{"a", "b"};
    QTest::newRow("bare text without quotes")
        << hex("82 B1 82 F1 82 C9 82 BF 82 CD 0D 0A") << QStringList{"こんにちは"};
    QTest::newRow("spaces inside the quotes are trimmed")
        << hex("22 20 20 82 A0 82 A2 82 A4 20 20 22 0D 0A") << QStringList{"あいう"};
    QTest::newRow("spaces outside the quotes are trimmed")
        << QByteArray("  \"a\"  \r\n") << QStringList{"a"};
    QTest::newRow("every quote is dropped") << hex("22 61 22 62 22 63 22 0D 0A") << QStringList{"abc"};
    QTest::newRow("a line of two quotes is an empty sentence")
        << QByteArray("\"\"\r\n\"a\"\r\n") << QStringList{"", "a"};
    QTest::newRow("placeholder only") << kPlaceholderRecord << QStringList{kPlaceholder};
    QTest::newRow("last line without CR LF") << QByteArray("\"a\"\r\n\"b\"") << QStringList{"a", "b"};
    QTest::newRow("lone CR ends a line") << QByteArray("\"a\"\r\"b\"\r") << QStringList{"a", "b"};
    QTest::newRow("ideographic space is kept")
        << hex("22 81 40 82 A0 22 0D 0A") << QStringList{"\u3000あ"};
    QTest::newRow("file order, not sorted")
        << QByteArray("\"b\"\r\n\"a\"\r\n") << QStringList{"b", "a"};
    QTest::newRow("utf-8 file") << QStringLiteral("\"おはよう\"\n\"はい\"\n").toUtf8()
                                << QStringList{"おはよう", "はい"};
}

void TestSampleFile::readsSentences()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, sentences);
    QCOMPARE(readSamples(file), sentences);
}

void TestSampleFile::writesRecords_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("one sentence")
        << QStringList{"こんにちは"} << hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A");
    QTest::newRow("diary, sentence, empty, memo: three records")
        << QStringList{"日記", "ありがとう", "", "メモ"}
        << kPlaceholderRecord + hex("22 82 A0 82 E8 82 AA 82 C6 82 A4 22 0D 0A")
               + kPlaceholderRecord;
    QTest::newRow("placeholder text is written as itself")
        << QStringList{kPlaceholder} << kPlaceholderRecord;
    QTest::newRow("reserved words are found after trimming")
        << QStringList{"  日記 ", " メモ"} << kPlaceholderRecord + kPlaceholderRecord;
    QTest::newRow("reserved word inside a sentence is a sentence")
        << QStringList{"日記帳"} << hex("22 93 FA 8B 4C 92 A0 22 0D 0A");
    QTest::newRow("cell of spaces is dropped") << QStringList{"   ", "a"} << QByteArray("\"a\"\r\n");
    QTest::newRow("sentence is written untrimmed")
        << QStringList{"  a b "} << QByteArray("\"  a b \"\r\n");
    QTest::newRow("inner quote written as a plain byte")
        << QStringList{"a\"b"} << QByteArray("\"a\"b\"\r\n");
    QTest::newRow("ideographic space alone is content")
        << QStringList{"\u3000"} << hex("22 81 40 22 0D 0A");
    QTest::newRow("cp932 extensions") << QStringList{"～－①"} << hex("22 81 60 81 7C 87 40 22 0D 0A");
    QTest::newRow("no rows") << QStringList() << QByteArray();
}

void TestSampleFile::writesRecords()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, file);
    const EncodedFile encoded = encodeSamples(cells);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes, file);
}

void TestSampleFile::refusesSentenceOutsideCp932()
{
    const EncodedFile encoded =
        encodeSamples({QStringLiteral("こんにちは"), QStringLiteral(" ねこ😺 "), QStringLiteral("ゔ")});
    QVERIFY(!encoded.ok());
    QCOMPARE(encoded.bytes, QByteArray());
    QCOMPARE(encoded.failure->text, QStringLiteral(" ねこ😺 "));
    QCOMPARE(encoded.failure->character, QStringLiteral("😺"));
}

void TestSampleFile::loadAfterSaveKeepsRowsInOrder()
{
    // A sentence of nothing but quotes is written and comes back as an empty row.
    const QStringList cells{"日記",     "  ありがとう ", "", "a\"b", "メモ", "\"\"",
                            "こんにちは", "   "};
    const EncodedFile encoded = encodeSamples(cells);
    QVERIFY(encoded.ok());
    QCOMPARE(readSamples(encoded.bytes),
             (QStringList{kPlaceholder, "ありがとう", "ab", kPlaceholder, "", "こんにちは"}));
}

void TestSampleFile::tellsWhenPlaceholderIsMissing_data()
{
    QTest::addColumn<QStringList>("sentences");
    QTest::addColumn<bool>("lacks");

    QTest::newRow("empty file") << QStringList() << true;
    QTest::newRow("sentences only") << QStringList{"a", "日記"} << true;
    QTest::newRow("placeholder first") << QStringList{kPlaceholder, "a"} << false;
    QTest::newRow("placeholder last") << QStringList{"a", kPlaceholder} << false;
    QTest::newRow("placeholder with extra text is not it")
        << QStringList{kPlaceholder + "x"} << true;
}

void TestSampleFile::tellsWhenPlaceholderIsMissing()
{
    QFETCH(QStringList, sentences);
    QFETCH(bool, lacks);
    QCOMPARE(lacksPlaceholder(sentences), lacks);
}

void TestSampleFile::everydaySentencesAreUsable()
{
    const QStringList sentences = everydaySentences();
    QVERIFY(sentences.size() >= 12 && sentences.size() <= 20);
    QCOMPARE(QSet<QString>(sentences.begin(), sentences.end()).size(), sentences.size());
    for (const QString &sentence : sentences) {
        QVERIFY2(encodeCp932(sentence).has_value(), qPrintable(sentence));
        QVERIFY2(!sentence.isEmpty() && trimSpaces(sentence) == sentence, qPrintable(sentence));
        QVERIFY2(!sentence.contains(u'"'), qPrintable(sentence));
        QVERIFY2(sentence != kDiaryCell && sentence != kMemoCell && sentence != kPlaceholder,
                 qPrintable(sentence));
    }
}

void TestSampleFile::freshFileHoldsPlaceholderAndEverydaySentences()
{
    const EncodedFile encoded = encodeSamples(freshSampleSentences());
    QVERIFY(encoded.ok());
    QVERIFY(encoded.bytes.startsWith(kPlaceholderRecord));
    const QStringList reread = readSamples(encoded.bytes);
    QCOMPARE(reread, QStringList{kPlaceholder} + everydaySentences());
    QVERIFY(!lacksPlaceholder(reread));
}

QTEST_APPLESS_MAIN(TestSampleFile)
#include "test_samplefile.moc"

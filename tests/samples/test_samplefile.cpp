// Talk.txt byte for byte: the records written and the sentences read back.

#include "samples/SampleFile.h"

#include <QTest>

using namespace kel;

class TestSampleFile : public QObject {
    Q_OBJECT

private slots:
    void bytesAndSentences_data();
    void bytesAndSentences();
};

void TestSampleFile::bytesAndSentences_data()
{
    QTest::addColumn<QStringList>("cells"); // the list's sentence cells saved; none: reading only
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("read");
    const auto hex = [](const char *spaced) { return QByteArray::fromHex(spaced); };
    // "ああああ日記ダミー消さないでね！": 36 bytes.
    const QByteArray placeholder = hex("22 82 A0 82 A0 82 A0 82 A0 93 FA 8B 4C 83 5F 83 7E 81 5B"
                                       " 8F C1 82 B3 82 C8 82 A2 82 C5 82 CB 81 49 22 0D 0A");
    const QStringList extensions{"～", "－", "①"};

    QTest::newRow("こんにちは") << QStringList{"こんにちは"}
                           << hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A") << QStringList{"こんにちは"};
    QTest::newRow("code page 932's own ～ － ①")
        << extensions << hex("22 81 60 22 0D 0A 22 81 7C 22 0D 0A 22 87 40 22 0D 0A") << extensions;
    QTest::newRow("日記, ありがとう, empty, メモ: three records")
        << QStringList{"日記", "ありがとう", "", "メモ"}
        << placeholder + hex("22 82 A0 82 E8 82 AA 82 C6 82 A4 22 0D 0A") + placeholder
        << QStringList{kPlaceholder, "ありがとう", kPlaceholder};
    QTest::newRow("blank lines and lines of spaces are skipped")
        << QStringList() << QByteArray("\r\n   \r\n\"a\"\r\n\r\n") << QStringList{"a"};
    QTest::newRow("every quote is dropped")
        << QStringList() << hex("22 61 22 62 22 63 22 0D 0A") << QStringList{"abc"};
    QTest::newRow("a line of two quotes is an empty sentence")
        << QStringList() << QByteArray("\"\"\r\n\"a\"\r\n") << QStringList{"", "a"};
    QTest::newRow("lone CR and lone LF end lines")
        << QStringList() << QByteArray("\"a\"\r\"b\"\n\"c\"") << QStringList{"a", "b", "c"};
}

void TestSampleFile::bytesAndSentences()
{
    QFETCH(QStringList, cells);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, read);
    QCOMPARE(parseSamples(decodeTextFile(file).text), read);
    if (!cells.isEmpty())
        QCOMPARE(encodeSamples(cells).bytes, file);
}

QTEST_APPLESS_MAIN(TestSampleFile)
#include "test_samplefile.moc"

// day.txt: the date pattern, reading the list with today's row, the newest
// first order and writing the list back byte for byte.

#include "diary/DiaryFile.h"

#include <QTest>

using namespace kel;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

QByteArray hex(const char *spacedHex)
{
    return QByteArray::fromHex(spacedHex);
}

// "04.09.24 朝ごはん" and "04.09.25 " as records.
const QByteArray kBreakfast0924 =
    hex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");
const QByteArray kEmpty0925 = hex("22 30 34 2E 30 39 2E 32 35 20 22 0D 0A");

// Rows as "date|entry", which reads well in tables and prints on failure.
QStringList flatten(const std::vector<DiaryRowData> &rows)
{
    QStringList flat;
    for (const DiaryRowData &row : rows)
        flat.append(row.date + u'|' + row.entry);
    return flat;
}

std::vector<DiaryRowData> unflatten(const QStringList &flat)
{
    std::vector<DiaryRowData> rows;
    for (const QString &row : flat)
        rows.push_back({row.section(u'|', 0, 0), row.section(u'|', 1)});
    return rows;
}

std::vector<DiaryRowData> readDiary(const QByteArray &bytes, const QString &today)
{
    return parseDiary(decodeTextFile(bytes).text, today);
}

} // namespace

class TestDiaryFile : public QObject {
    Q_OBJECT

private slots:
    void writesDatePattern_data();
    void writesDatePattern();
    void readsRows_data();
    void readsRows();
    void ordersNewestFirst_data();
    void ordersNewestFirst();
    void writesRecords_data();
    void writesRecords();
    void refusesEntryOutsideCp932();
    void storedEntrySurvivesReload_data();
    void storedEntrySurvivesReload();
};

void TestDiaryFile::writesDatePattern_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");

    QTest::newRow("2004-09-24") << QDate(2004, 9, 24) << QStringLiteral("04.09.24");
    QTest::newRow("leading zeros") << QDate(2024, 1, 5) << QStringLiteral("24.01.05");
    QTest::newRow("year 2000") << QDate(2000, 12, 31) << QStringLiteral("00.12.31");
}

void TestDiaryFile::writesDatePattern()
{
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(diaryDate(date), text);
}

void TestDiaryFile::readsRows_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("newest record from yesterday: empty row for today first")
        << kBreakfast0924 << QStringLiteral("04.09.25") << QStringList{"04.09.25|", "04.09.24|朝ごはん"};
    QTest::newRow("newest record from today: no row added")
        << kBreakfast0924 << QStringLiteral("04.09.24") << QStringList{"04.09.24|朝ごはん"};
    QTest::newRow("empty entry of today") << kEmpty0925 << QStringLiteral("04.09.25") << QStringList{"04.09.25|"};
    QTest::newRow("only the first kept line is compared with today")
        << QByteArray("\"04.09.23 a\"\r\n\"04.09.25 b\"\r\n") << QStringLiteral("04.09.25")
        << QStringList{"04.09.25|", "04.09.23|a", "04.09.25|b"};
    QTest::newRow("blank lines are skipped, also before the first record")
        << QByteArray("\r\n  \r\n\"04.09.25 a\"\r\n\r\n\"04.09.24 b\"\r\n") << QStringLiteral("04.09.25")
        << QStringList{"04.09.25|a", "04.09.24|b"};
    QTest::newRow("quotes inside an entry are lost")
        << QByteArray("\"04.09.25 say \"hi\"\"\r\n") << QStringLiteral("04.09.25") << QStringList{"04.09.25|say hi"};
    QTest::newRow("entry is trimmed, end marker kept")
        << QByteArray("\"04.09.25   \x82\xCD\x82\xEA_  \"\r\n") << QStringLiteral("04.09.25")
        << QStringList{"04.09.25|はれ_"};
    QTest::newRow("ideographic space in an entry is kept")
        << hex("22 30 34 2E 30 39 2E 32 35 20 81 40 61 22 0D 0A") << QStringLiteral("04.09.25")
        << QStringList{"04.09.25|\u3000a"};
    QTest::newRow("character 9 is skipped whatever it is")
        << QByteArray("04.09.25xabc\r\n") << QStringLiteral("04.09.25") << QStringList{"04.09.25|abc"};
    QTest::newRow("last line without CR LF")
        << QByteArray("\"04.09.25 a\"\r\n\"04.09.24 b\"") << QStringLiteral("04.09.25")
        << QStringList{"04.09.25|a", "04.09.24|b"};
    QTest::newRow("empty file gives a row for today")
        << QByteArray() << QStringLiteral("04.09.25") << QStringList{"04.09.25|"};
    QTest::newRow("file of blank lines gives a row for today")
        << QByteArray("\r\n \r\n") << QStringLiteral("04.09.25") << QStringList{"04.09.25|"};
}

void TestDiaryFile::readsRows()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, today);
    QFETCH(QStringList, rows);
    QCOMPARE(flatten(readDiary(file, today)), rows);
}

void TestDiaryFile::ordersNewestFirst_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<std::vector<int>>("order");

    QTest::newRow("already newest first")
        << QStringList{"04.09.25|", "04.09.24|a"} << std::vector<int>{0, 1};
    QTest::newRow("oldest first file with a second today row")
        << QStringList{"04.09.25|", "04.09.23|a", "04.09.24|b", "04.09.25|c"}
        << std::vector<int>{0, 3, 2, 1};
    QTest::newRow("months and years by text")
        << QStringList{"03.12.31|", "04.01.01|", "04.10.01|", "04.09.30|"}
        << std::vector<int>{2, 3, 1, 0};
    QTest::newRow("no rows") << QStringList() << std::vector<int>{};
}

void TestDiaryFile::ordersNewestFirst()
{
    QFETCH(QStringList, rows);
    QFETCH(std::vector<int>, order);
    QCOMPARE(diaryOrder(unflatten(rows)), order);
}

void TestDiaryFile::writesRecords_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("diaryRow");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("entry of 04.09.24")
        << QStringList{"04.09.24|"} << 0 << QStringLiteral("朝ごはん") << kBreakfast0924;
    QTest::newRow("empty entry of 04.09.25")
        << QStringList{"04.09.25|x"} << 0 << QString() << kEmpty0925;
    QTest::newRow("はれ_ stored on today's new row, end marker included")
        << QStringList{"04.09.25|", "04.09.24|朝ごはん"} << 0 << QStringLiteral("はれ_")
        << hex("22 30 34 2E 30 39 2E 32 35 20 82 CD 82 EA 5F 22 0D 0A") + kBreakfast0924;
    QTest::newRow("DiaryRow 2 replaces only the third row")
        << QStringList{"04.09.26|a", "04.09.25|", "04.09.24|c", "04.09.23|d"} << 2
        << QStringLiteral("x")
        << QByteArray("\"04.09.26 a\"\r\n\"04.09.25 \"\r\n\"04.09.24 x\"\r\n\"04.09.23 d\"\r\n");
    QTest::newRow("neither date nor entry is trimmed")
        << QStringList{"04.09.25|"} << 0 << QStringLiteral("  a  ")
        << QByteArray("\"04.09.25   a  \"\r\n");
    QTest::newRow("inner quote written as a plain byte")
        << QStringList{"04.09.25|"} << 0 << QStringLiteral("a\"b")
        << QByteArray("\"04.09.25 a\"b\"\r\n");
}

void TestDiaryFile::writesRecords()
{
    QFETCH(QStringList, rows);
    QFETCH(int, diaryRow);
    QFETCH(QString, text);
    QFETCH(QByteArray, file);
    const EncodedFile encoded = encodeDiary(unflatten(rows), diaryRow, text);
    QVERIFY(encoded.ok());
    QCOMPARE(encoded.bytes, file);
}

void TestDiaryFile::refusesEntryOutsideCp932()
{
    const std::vector<DiaryRowData> rows = unflatten({"04.09.25|", "04.09.24|a"});
    const EncodedFile encoded = encodeDiary(rows, 0, QStringLiteral("たのしい😀_"));
    QVERIFY(!encoded.ok());
    QCOMPARE(encoded.bytes, QByteArray());
    QCOMPARE(encoded.failure->text, QStringLiteral("たのしい😀_"));
    QCOMPARE(encoded.failure->character, QStringLiteral("😀"));
}

void TestDiaryFile::storedEntrySurvivesReload_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty entry") << QString();
    QTest::newRow("entry with end marker") << QStringLiteral("はれ_");
}

void TestDiaryFile::storedEntrySurvivesReload()
{
    QFETCH(QString, text);
    // Open the diary on 04.09.25 over a file from the day before, store
    // today's entry, reopen the same day.
    const std::vector<DiaryRowData> first = readDiary(kBreakfast0924, "04.09.25");
    const EncodedFile stored = encodeDiary(first, 0, text);
    QVERIFY(stored.ok());
    const std::vector<DiaryRowData> again = readDiary(stored.bytes, "04.09.25");
    QCOMPARE(flatten(again), (QStringList{"04.09.25|" + text, "04.09.24|朝ごはん"}));
}

QTEST_APPLESS_MAIN(TestDiaryFile)
#include "test_diaryfile.moc"

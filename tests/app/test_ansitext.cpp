// The text-file layer: code page 932 both ways, encoding detection, line
// splitting, trimming, the quoted record, reading and the all-or-nothing save.

#include "app/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;

namespace {

QByteArray hex(const char *spacedHex)
{
    return QByteArray::fromHex(spacedHex);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestAnsiText : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setSaveFaultForTesting(SaveFault::None); }

    void encodesCp932_data();
    void encodesCp932();
    void refusesCharactersOutsideCp932_data();
    void refusesCharactersOutsideCp932();
    void namesFirstUnencodableCharacter_data();
    void namesFirstUnencodableCharacter();
    void decodesTextFile_data();
    void decodesTextFile();
    void splitsLines_data();
    void splitsLines();
    void readsVeryLongLineWhole();
    void trimsAsciiSpacesOnly_data();
    void trimsAsciiSpacesOnly();
    void encodesRecord();

    void savesNewAndReplacesExistingFile();
    void faultKeepsOldFileWhole_data();
    void faultKeepsOldFileWhole();
    void reportsUnwritableTarget_data();
    void reportsUnwritableTarget();
    void loadsFile();
};

void TestAnsiText::encodesCp932_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ascii") << QStringLiteral("abc 123") << QByteArray("abc 123");
    QTest::newRow("hiragana") << QStringLiteral("こんにちは") << hex("82 B1 82 F1 82 C9 82 BF 82 CD");
    QTest::newRow("kanji and kana") << QStringLiteral("朝ごはん") << hex("92 A9 82 B2 82 CD 82 F1");
    QTest::newRow("fullwidth tilde is the wave dash") << QStringLiteral("～") << hex("81 60");
    QTest::newRow("fullwidth hyphen-minus") << QStringLiteral("－") << hex("81 7C");
    QTest::newRow("circled digit one (NEC row 13)") << QStringLiteral("①") << hex("87 40");
    QTest::newRow("ideographic space") << QStringLiteral("\u3000") << hex("81 40");
    QTest::newRow("katakana vu") << QStringLiteral("ヴ") << hex("83 94");
    QTest::newRow("halfwidth katakana") << QStringLiteral("ｱ") << hex("B1");
    QTest::newRow("backslash stays 5C") << QStringLiteral("\\") << hex("5C");
    QTest::newRow("control codes map to themselves")
        << QString::fromLatin1("\x1A\x1C\x7F") << hex("1A 1C 7F");
}

void TestAnsiText::encodesCp932()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> encoded = encodeCp932(text);
    QVERIFY(encoded.has_value());
    QCOMPARE(*encoded, bytes);
    QCOMPARE(firstUnencodableCharacter(text), QString());

    // The same bytes read back give the same text.
    const DecodedText decoded = decodeTextFile(bytes);
    QCOMPARE(decoded.source, DecodedText::Cp932);
    QCOMPARE(decoded.text, text);
}

void TestAnsiText::refusesCharactersOutsideCp932_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("emoji") << QStringLiteral("ありがとう😀");
    QTest::newRow("hiragana vu U+3094") << QStringLiteral("ゔ");
    QTest::newRow("wave dash U+301C") << QStringLiteral("\u301C");
    QTest::newRow("minus sign U+2212") << QStringLiteral("\u2212");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD83D));
    QTest::newRow("replacement character") << QString(QChar(0xFFFD));
}

void TestAnsiText::refusesCharactersOutsideCp932()
{
    QFETCH(QString, text);
    QVERIFY(!encodeCp932(text).has_value());
    QVERIFY(!encodeRecord(text).has_value());
}

void TestAnsiText::namesFirstUnencodableCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("character");

    QTest::newRow("all encodable") << QStringLiteral("水をください") << QString();
    QTest::newRow("emoji is named whole") << QStringLiteral("ねこ😺がいる") << QStringLiteral("😺");
    QTest::newRow("first of two") << QStringLiteral("aゔb😀") << QStringLiteral("ゔ");
    QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xDC00) << QString(QChar(0xDC00));
}

void TestAnsiText::namesFirstUnencodableCharacter()
{
    QFETCH(QString, text);
    QFETCH(QString, character);
    QCOMPARE(firstUnencodableCharacter(text), character);
}

void TestAnsiText::decodesTextFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("source");

    const int cp932 = DecodedText::Cp932, utf8 = DecodedText::Utf8, invalid = DecodedText::Invalid;
    QTest::newRow("empty file") << QByteArray() << QString() << cp932;
    QTest::newRow("ascii") << QByteArray("\"abc\"\r\n") << QStringLiteral("\"abc\"\r\n") << cp932;
    QTest::newRow("cp932 record")
        << hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A") << QStringLiteral("\"こんにちは\"\r\n")
        << cp932;
    QTest::newRow("cp932 extensions") << hex("81 60 81 7C 87 40") << QStringLiteral("～－①") << cp932;
    QTest::newRow("utf-8 without bom")
        << QStringLiteral("\"こんにちは\"\r\n").toUtf8() << QStringLiteral("\"こんにちは\"\r\n") << utf8;
    QTest::newRow("utf-8 with bom")
        << hex("EF BB BF") + QStringLiteral("\"朝ごはん\"\n").toUtf8()
        << QStringLiteral("\"朝ごはん\"\n") << utf8;
    QTest::newRow("bom with ascii") << hex("EF BB BF 61") << QStringLiteral("a") << utf8;
    QTest::newRow("bom only") << hex("EF BB BF") << QString() << utf8;
    QTest::newRow("utf-8 emoji") << hex("F0 9F 98 80") << QStringLiteral("😀") << utf8;
    QTest::newRow("lone lead byte at end") << hex("22 82 B1 82") << QString() << invalid;
    QTest::newRow("unmapped single byte") << hex("41 FF 42") << QString() << invalid;
    QTest::newRow("lead byte with bad trail") << hex("81 20") << QString() << invalid;
    QTest::newRow("bom then invalid utf-8") << hex("EF BB BF 82 B1") << QString() << invalid;
}

void TestAnsiText::decodesTextFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, source);
    const DecodedText decoded = decodeTextFile(bytes);
    QCOMPARE(int(decoded.source), source);
    if (source != DecodedText::Invalid)
        QCOMPARE(decoded.text, text);
}

void TestAnsiText::splitsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("one line, no terminator") << QStringLiteral("a") << QStringList{"a"};
    QTest::newRow("final CR LF adds no line") << QStringLiteral("a\r\n") << QStringList{"a"};
    QTest::newRow("CR LF, lone CR, lone LF")
        << QStringLiteral("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("blank lines are kept")
        << QStringLiteral("a\r\n\r\n\rb") << QStringList{"a", "", "", "b"};
    QTest::newRow("LF CR is two terminators") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("only a terminator") << QStringLiteral("\r\n") << QStringList{""};
}

void TestAnsiText::splitsLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitLines(text), lines);
}

void TestAnsiText::readsVeryLongLineWhole()
{
    const QString longLine(40000, QChar(u'あ'));
    const QStringList lines = splitLines(longLine + QStringLiteral("\r\nb"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).size(), 40000);
    QCOMPARE(lines.at(1), QStringLiteral("b"));
}

void TestAnsiText::trimsAsciiSpacesOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("both ends") << QStringLiteral("  あいう  ") << QStringLiteral("あいう");
    QTest::newRow("inner spaces stay") << QStringLiteral(" a b ") << QStringLiteral("a b");
    QTest::newRow("only spaces") << QStringLiteral("   ") << QString();
    QTest::newRow("ideographic space is content")
        << QStringLiteral(" \u3000あ\u3000 ") << QStringLiteral("\u3000あ\u3000");
    QTest::newRow("tab is content") << QStringLiteral("\ta\t") << QStringLiteral("\ta\t");
}

void TestAnsiText::trimsAsciiSpacesOnly()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(trimSpaces(text), trimmed);
}

void TestAnsiText::encodesRecord()
{
    QCOMPARE(encodeRecord(QStringLiteral("こんにちは")).value(),
             hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A"));
    QCOMPARE(encodeRecord(QString()).value(), hex("22 22 0D 0A"));
    QCOMPARE(encodeRecord(QStringLiteral(" a\"b ")).value(), QByteArray("\" a\"b \"\r\n"));
}

void TestAnsiText::savesNewAndReplacesExistingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Talk.txt"));

    QCOMPARE(saveFileAtomically(path, hex("22 61 22 0D 0A")).has_value(), false);
    QCOMPARE(readAll(path), hex("22 61 22 0D 0A"));

    QCOMPARE(saveFileAtomically(path, hex("22 62 22 0D 0A 22 63 22 0D 0A")).has_value(), false);
    QCOMPARE(readAll(path), hex("22 62 22 0D 0A 22 63 22 0D 0A"));

    QCOMPARE(saveFileAtomically(path, QByteArray()).has_value(), false);
    QCOMPARE(readAll(path), QByteArray());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Talk.txt"});
}

void TestAnsiText::faultKeepsOldFileWhole_data()
{
    QTest::addColumn<SaveFault>("fault");
    QTest::newRow("disk full while writing") << SaveFault::Write;
    QTest::newRow("rename fails after a complete temporary") << SaveFault::BeforeRename;
}

void TestAnsiText::faultKeepsOldFileWhole()
{
    QFETCH(SaveFault, fault);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("day.txt"));
    const QByteArray old = hex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");
    QVERIFY(writeAll(path, old));

    setSaveFaultForTesting(fault);
    const std::optional<SaveError> error = saveFileAtomically(path, hex("22 78 22 0D 0A"));
    QVERIFY(error.has_value());
    QVERIFY(!error->reason.isEmpty());
    QCOMPARE(readAll(path), old);
    // No temporary is left beside the file.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"day.txt"});

    setSaveFaultForTesting(SaveFault::None);
    QVERIFY(!saveFileAtomically(path, hex("22 78 22 0D 0A")).has_value());
    QCOMPARE(readAll(path), hex("22 78 22 0D 0A"));
}

void TestAnsiText::reportsUnwritableTarget_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("folder does not exist") << QStringLiteral("missing/Talk.txt");
    QTest::newRow("folder is a regular file") << QStringLiteral("plain/Talk.txt");
    QTest::newRow("target is a folder") << QStringLiteral("folder");
}

void TestAnsiText::reportsUnwritableTarget()
{
    QFETCH(QString, relativePath);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeAll(dir.filePath(QStringLiteral("plain")), "x"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));

    const std::optional<SaveError> error =
        saveFileAtomically(dir.filePath(relativePath), QByteArray("\"a\"\r\n"));
    QVERIFY(error.has_value());
    QVERIFY(!error->reason.isEmpty());
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain"))), QByteArray("x"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"folder", "plain"}));
}

void TestAnsiText::loadsFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Talk.txt"));

    QCOMPARE(loadTextFile(path).status, LoadedFile::Missing);

    QVERIFY(writeAll(path, hex("22 82 B1 22 0D 0A")));
    const LoadedFile loaded = loadTextFile(path);
    QCOMPARE(loaded.status, LoadedFile::Read);
    QCOMPARE(loaded.bytes, hex("22 82 B1 22 0D 0A"));

    QVERIFY(writeAll(path, QByteArray()));
    QCOMPARE(loadTextFile(path).status, LoadedFile::Read);
    QCOMPARE(loadTextFile(path).bytes, QByteArray());

    // Something that is there but cannot be read must not count as missing,
    // or the caller would write a fresh file over it.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("day.txt")));
    QCOMPARE(loadTextFile(dir.filePath(QStringLiteral("day.txt"))).status, LoadedFile::Unreadable);
}

QTEST_APPLESS_MAIN(TestAnsiText)
#include "test_ansitext.moc"

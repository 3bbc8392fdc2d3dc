// The text-file layer: code page 932 both ways, encoding detection, line
// splitting, trimming, reading and the all-or-nothing save.

#include "base/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kel;
using namespace Qt::StringLiterals;

namespace {

QByteArray hex(const char *spacedHex) { return QByteArray::fromHex(spacedHex); }

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QByteArray kRefused;   // no encodable row expects empty bytes

} // namespace

class TestAnsiText : public QObject {
    Q_OBJECT

private slots:
    void encodesCp932_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("hiragana") << u"こんにちは"_s << hex("82 B1 82 F1 82 C9 82 BF 82 CD");
        QTest::newRow("fullwidth tilde is the wave dash") << u"～"_s << hex("81 60");
        QTest::newRow("fullwidth hyphen-minus") << u"－"_s << hex("81 7C");
        QTest::newRow("circled digit one") << u"①"_s << hex("87 40");
        QTest::newRow("control bytes map to themselves") << QString::fromLatin1("\x1A\x1C\x7F") << hex("1A 1C 7F");
        QTest::newRow("emoji refused") << u"ねこ😺"_s << kRefused;
        QTest::newRow("hiragana vu refused") << u"ゔ"_s << kRefused;
        // The usual Unicode forms, written as the form code page 932 holds.
        QTest::newRow("〜 ‖ − — as ～ ∥ － ―") << u"〜‖−—"_s << hex("81 60 81 61 81 7C 81 5C");
        QTest::newRow("¢ £ ¬ as ￠ ￡ ￢") << u"¢£¬"_s << hex("81 91 81 92 81 CA");
    }

    void encodesCp932()
    {
        QFETCH(QString, text);
        QTEST(encodeCp932(text).value_or(kRefused), "bytes");
    }

    void decodesTextFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("text");

        const QString record = u"\"こんにちは～①\"\r\n"_s;
        QTest::newRow("cp932") << hex("22 82 B1 82 F1 82 C9 82 BF 82 CD 81 60 87 40 22 0D 0A")
                               << int(DecodedText::Cp932) << record;
        QTest::newRow("utf-8 without bom") << record.toUtf8() << int(DecodedText::Utf8) << record;
        QTest::newRow("utf-8 with bom") << hex("EF BB BF") + record.toUtf8() << int(DecodedText::Utf8) << record;
        QTest::newRow("unmapped byte") << hex("41 FF 42") << int(DecodedText::Invalid) << QString();
        QTest::newRow("lone lead byte at the end") << hex("22 82 B1 82") << int(DecodedText::Invalid) << QString();
    }

    void decodesTextFile()
    {
        QFETCH(QByteArray, bytes);
        const DecodedText decoded = decodeTextFile(bytes);
        QTEST(int(decoded.source), "source");
        if (decoded.source != DecodedText::Invalid)
            QTEST(decoded.text, "text");
    }

    void splitsLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");

        QTest::newRow("CR LF, blank line kept, final one adds none")
            << u"a\r\n\r\nb\r\n"_s << QStringList{"a", "", "b"};
        QTest::newRow("lone CR") << u"a\rb\r"_s << QStringList{"a", "b"};
        QTest::newRow("lone LF") << u"a\nb\n"_s << QStringList{"a", "b"};
        QTest::newRow("no final terminator") << u"a\r\nb"_s << QStringList{"a", "b"};
    }

    void splitsLines()
    {
        QFETCH(QString, text);
        QTEST(splitLines(text), "lines");
    }

    void trimsAsciiSpacesOnly() { QCOMPARE(trimSpaces(u" \u3000あ\u3000 "_s), u"\u3000あ\u3000"_s); }

    // Something there that cannot be read must not count as missing, or the
    // caller would write a fresh file over it.
    void tellsMissingFromUnreadable()
    {
        QTemporaryDir dir;
        QCOMPARE(loadTextFile(dir.filePath(u"Talk.txt"_s)).status, LoadedFile::Missing);
        QCOMPARE(loadTextFile(dir.path()).status, LoadedFile::Unreadable);
    }

    void savesAllOrNothing_data()
    {
        QTest::addColumn<SaveFault>("fault");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("saved");

        QTest::newRow("replaces the old file") << SaveFault::None << u"day.txt"_s << true;
        QTest::newRow("rename fails: old file whole, no temporary") << SaveFault::BeforeRename << u"day.txt"_s << false;
        QTest::newRow("folder is a regular file") << SaveFault::None << u"plain/day.txt"_s << false;
    }

    void savesAllOrNothing()
    {
        QFETCH(SaveFault, fault);
        QFETCH(QString, target);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QByteArray old = hex("22 92 A9 82 B2 82 CD 82 F1 22 0D 0A"), fresh = hex("22 78 22 0D 0A");
        QVERIFY(writeAll(dir.filePath(u"day.txt"_s), old) && writeAll(dir.filePath(u"plain"_s), "x"));

        setSaveFaultForTesting(fault);
        QCOMPARE(!saveFileAtomically(dir.filePath(target), fresh).has_value(), saved);
        QCOMPARE(loadTextFile(dir.filePath(u"day.txt"_s)).bytes, saved ? fresh : old);
        QCOMPARE(loadTextFile(dir.filePath(u"plain"_s)).bytes, QByteArray("x"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{"day.txt", "plain"}));
    }
};

QTEST_APPLESS_MAIN(TestAnsiText)
#include "test_ansitext.moc"

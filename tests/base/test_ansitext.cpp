// The text-file layer: code page 932 both ways, encoding detection,
// trimming, and places that are not files.

#include "support/TestMain.h"
#include "base/AnsiText.h"
#include "base/SaveFile.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>


using namespace kel;
using namespace Qt::StringLiterals;

namespace {

QByteArray hex(const char *spacedHex) { return QByteArray::fromHex(spacedHex); }

const QByteArray kRefused;   // no encodable row expects empty bytes

} // namespace

class TestAnsiText : public QObject {
    Q_OBJECT

private slots:
    // Text and its bytes in code page 932 both ways: `text` (when given) is
    // written as `bytes`, and a file of `bytes` (when `source` is given) reads
    // back as `read`, or as `text` when `read` is not given. (Kana, ～ － ①,
    // line ends and blank lines are pinned byte for byte in test_samplescreens.)
    void codec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("read");
        const int cp932 = DecodedText::Cp932, utf8 = DecodedText::Utf8, invalid = DecodedText::Invalid, unread = -1;
        const QString record = u"\"こんにちは～①\"\r\n"_s, same;
        QTest::newRow("control bytes map to themselves") << QString::fromLatin1("\x1A\x1C\x7F") << hex("1A 1C 7F") << cp932 << same;
        QTest::newRow("emoji refused") << u"ねこ😺"_s << kRefused << unread << same;
        // The usual Unicode forms, written as the form code page 932 holds.
        QTest::newRow("〜 ‖ − — as ～ ∥ － ―") << u"〜‖−—"_s << hex("81 60 81 61 81 7C 81 5C") << cp932 << u"～∥－―"_s;
        QTest::newRow("¢ £ ¬ as ￠ ￡ ￢") << u"¢£¬"_s << hex("81 91 81 92 81 CA") << cp932 << u"￠￡￢"_s;
        QTest::newRow("utf-8 without bom") << same << record.toUtf8() << utf8 << record;
        QTest::newRow("utf-8 with bom") << same << hex("EF BB BF") + record.toUtf8() << utf8 << record;
        QTest::newRow("unmapped byte") << same << hex("41 FF 42") << invalid << same;
        QTest::newRow("lone lead byte at the end") << same << hex("22 82 B1 82") << invalid << same;
    }

    void codec()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(int, source);
        QFETCH(QString, read);
        if (!text.isNull())
            QCOMPARE(encodeCp932(text).value_or(kRefused), bytes);
        if (source < 0)
            return;
        const DecodedText decoded = decodeTextFile(bytes);
        QCOMPARE(int(decoded.source), source);
        if (decoded.source != DecodedText::Invalid)
            QCOMPARE(decoded.text, read.isNull() ? text : read);
    }

    void trimsAsciiSpacesOnly() { QCOMPARE(trimSpaces(u" \u3000あ\u3000 "_s), u"\u3000あ\u3000"_s); }

    // A file at its limit (16 MB) is read whole; a save into a "folder"
    // that is a file fails and leaves that file as it was. (A save that
    // replaces a file, and one whose rename fails, are seen on disk in
    // test_samplescreens, for Talk.txt and day.txt; a stored file that is a
    // FIFO, a link to a file elsewhere or one byte over the limit, in
    // test_texts, where a file that cannot be read is never written over.)
    void atTheLimitAndUnderAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Talk.txt"_s), plain = dir.filePath(u"plain"_s);
        QVERIFY(test::writeFile(plain, "x"));
        QVERIFY(QFile::copy(plain, path) && QFile::resize(path, qint64(16) << 20)); // sparse: no room taken
        const LoadedFile loaded = loadTextFile(path);
        QCOMPARE(int(loaded.status), int(LoadedFile::Read));
        QCOMPARE(loaded.bytes.size(), qint64(16) << 20);
        QVERIFY(saveFileAtomically(dir.filePath(u"plain/day.txt"_s), "y").has_value());
        QCOMPARE(loadTextFile(plain).bytes, QByteArray("x"));
    }
};

KEL_TEST(test_ansitext, TestAnsiText)
#include "test_ansitext.moc"

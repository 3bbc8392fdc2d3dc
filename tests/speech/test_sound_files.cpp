// The sound files on disk: decoding them into the player's format, on files
// generated here (each encoding must come out as the same tone at the same
// loudness and length, each broken file must be refused, quickly, without
// reading past its end), and the default set the make-voices tool records.
// (A file replaced on disk is heard afresh: test_real_audio.)

#include "support/TestMain.h"
#include "support/AudioCapture.h"
#include "board/BoardLayout.h"
#include "board/Variants.h"
#include "speech/SoundBank.h"
#include "reading/Morae.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <numeric>

using namespace kel;
using namespace kel::test;

namespace {

// A 0.5 s tone of 440 Hz at half scale; `patch` little-endian bytes (hex)
// written over it at `at`.
QByteArray wav(WavShape s = {}, int at = 0, const char *patch = "")
{
    const QByteArray bytes = QByteArray::fromHex(patch);
    return toneWav(440, 0.5, 0.0, s, 0.5).replace(at, bytes.size(), bytes);
}

// Every text a touch can enter: each cell of the three boards at both widths
// (an empty cell enters a full-width space) and the variant forms the
// enlarged screen shows beside them; but "/", which cannot be a file name.
QSet<QString> recordableTexts()
{
    QSet<QString> texts;
    for (BoardMode mode : {BoardMode::Hiragana, BoardMode::Katakana, BoardMode::Alphanumeric})
        for (int maxC : {9, 14})
            for (int row = 0; row < kBoardRows; ++row)
                for (int col = 0; col <= maxC; ++col) {
                    const QString text = boardCellText(mode, maxC, row, col);
                    texts << (text.isEmpty() ? QStringLiteral("\u3000") : text);
                    if (const auto forms = variantsOf(text))
                        texts << forms->left << forms->right;
                }
    texts.remove(QString()); // the empty side of a character with one variant
    texts.remove(QStringLiteral("/"));
    return texts;
}

} // namespace

class TestSoundFiles : public QObject {
    Q_OBJECT
private slots:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("refused"); // what the player says of it; empty: it plays
        const QString broken = "は使える WAV ではありません", tooLong = "は長すぎます（10 秒まで）";
        QTest::newRow("16-bit mono 22.05 kHz") << wav() << "";
        QTest::newRow("8-bit") << wav({1, 8}) << "";
        QTest::newRow("32-bit") << wav({1, 32}) << "";
        QTest::newRow("float") << wav({3, 32}) << "";
        QTest::newRow("double") << wav({3, 64}) << "";
        QTest::newRow("96 kHz") << wav({1, 16, 1, 96000}) << "";
        QTest::newRow("8 kHz") << wav({1, 16, 1, 8000}) << "";
        // (24-bit samples and two channels are met here only.)
        QTest::newRow("extensible 24-bit stereo 48 kHz") << wav({0xFFFE, 24, 2, 48000}) << "";
        QTest::newRow("odd chunk before the format") << wav().insert(12, QByteArray("LIST\x03\0\0\0abc\0", 12)) << "";
        QTest::newRow("empty") << QByteArray() << broken;
        QTest::newRow("a bare RIFF") << QByteArray("RIFF") << broken;
        QTest::newRow("cut off at 10,000 bytes") << wav().left(10'000) << broken;
        QTest::newRow("data claims 2 GB") << wav({}, 40, "0000ff7f") << broken;
        QTest::newRow("RIFF claims 2 GB") << wav({}, 4, "0000ff7f") << broken;
        QTest::newRow("text") << QByteArray("RIFF is not what this is, just text.\n") << broken;
        QTest::newRow("ADPCM") << wav({}, 20, "0200") << broken;
        QTest::newRow("no channels") << wav({}, 22, "0000") << broken;
        QTest::newRow("data before format") << wav().left(12) + wav().mid(36) + wav().mid(12, 24) << broken;
        // Longer than any recording of one character: refused from the
        // header, before the samples are allocated. The 21 KB backup that
        // ended the program at every start held the first: 16 MB of 8-bit
        // samples at 1 kHz, 4.5 GB once converted.
        QByteArray slow = toneWav(440, 0.01, 0, {1, 8, 1, 1000});
        slow.append(QByteArray((16 << 20) - (slow.size() - 44), '\x80'));
        slow.replace(4, 4, QByteArray::fromHex("24000001")).replace(40, 4, QByteArray::fromHex("00000001"));
        QTest::newRow("16 MB of 8-bit samples at 1 kHz") << slow << tooLong;
        QTest::newRow("11 s at 8 kHz") << toneWav(440, 11, 0, {1, 8, 1, 8000}) << tooLong;
        QTest::newRow("8 channels at 384 kHz for 1.5 s") << toneWav(440, 1.5, 0, {1, 8, 8, 384000}) << tooLong;
    }

    // Decoded by the bank as at start-up, ahead of the first touch: a file
    // it plays is the same tone at half scale, at the player's rate; a file
    // it refuses is named once, with why, not at every touch.
    void decode()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, refused);
        const bool plays = refused.isEmpty();
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(QStringLiteral("あ.wav")), file));
        if (!plays)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("「.*/あ\\.wav」") + refused));
        SoundBank bank;
        std::atomic<bool> cancelled = false;
        QCOMPARE(bank.preload(dir.path(), cancelled), 1);
        QCOMPARE(bank.bytesHeld() > 0, plays);
        const SoundBank::Samples held = bank.get(dir.filePath(QStringLiteral("あ.wav")));
        QCOMPARE(bool(held), plays);
        if (!plays) {
            QTest::failOnWarning(QRegularExpression(QStringLiteral("あ\\.wav")));
            QVERIFY(!bank.get(dir.filePath(QStringLiteral("あ.wav"))));
            return;
        }
        const std::vector<qint16> &pcm = *held;
        QVERIFY(std::abs(qsizetype(pcm.size()) - kPlaybackRate / 2) <= 2);
        const int crossings = std::inner_product(pcm.begin() + 1, pcm.end(), pcm.begin(), 0, std::plus<>(),
                                                 [](qint16 a, qint16 b) { return int((a < 0) != (b < 0)); });
        const int peak = std::abs(int(*std::ranges::max_element(pcm, {}, [](qint16 s) { return std::abs(int(s)); })));
        QVERIFY(std::abs(crossings - 440) <= 2);
        QVERIFY2(std::abs(peak - 16384) < 400, qPrintable(QString::number(peak)));
    }

    void makeVoices_data()
    {
        QTest::addColumn<QStringList>("args"); // run in the folder that holds the user's あ.wav
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("says"); // the start of what it prints
        QTest::newRow("records into the folder") << QStringList{"."} << 0 << QByteArray();
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QByteArray("usage: make-voices OUTDIR");
        QTest::newRow("--out x") << QStringList{"--out", "x"} << 2 << QByteArray("make-voices: unknown option --out");
    }

    void makeVoices()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, says);
        QTemporaryDir dir;
        const QByteArray own = "RIFF, the user's own recording of あ";
        QVERIFY(writeFile(dir.filePath(QStringLiteral("あ.wav")), own));
        QHash<QString, QByteArray> made;
        for (int run = 0; run < 2; ++run) { // a second run changes nothing
            QProcess tool;
            tool.setWorkingDirectory(dir.path());
            tool.start(QStringLiteral(MAKE_VOICES_PATH), args);
            QVERIFY(tool.waitForFinished(240'000));
            QTEST(tool.exitCode(), "exitCode");
            QVERIFY((tool.readAllStandardOutput() + tool.readAllStandardError()).startsWith(says));
            QHash<QString, QByteArray> files;
            for (const QFileInfo &file : QDir(dir.path()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
                files.insert(file.fileName(), readFile(file.filePath()));
            QVERIFY(run == 0 || files == made);
            made = files;
        }
        // A sound for every text a touch can enter and every pair the spoken
        // reading plays as one mora, each once, and the user's own file as
        // it was; nothing more, nor anything else when the tool refuses.
        const QSet<QString> expected = args == QStringList{"."} ? recordableTexts() + QSet<QString>(pairMorae().cbegin(), pairMorae().cend())
                                                                : QSet<QString>{QStringLiteral("あ")};
        QVERIFY(args != QStringList{"."} || soundSetCharacters().size() == expected.size());
        QCOMPARE(made.size(), expected.size());
        for (const QString &ch : expected) {
            const QByteArray bytes = made.value(ch + QStringLiteral(".wav"));
            const auto samples = samples16(bytes);
            QVERIFY2(ch == u"あ" ? bytes == own : samples && !soundsIn(*samples).isEmpty(), qPrintable(ch));
        }
    }
};

KEL_TEST(test_sound_files, TestSoundFiles)
#include "test_sound_files.moc"

// Decoding WAV files into the player's format, on files generated here: each
// encoding must come out as the same tone at the same loudness and length,
// and each broken file must be refused, quickly, without reading past its end.
#include "speech/SoundBank.h"
#include "speech/WavCodec.h"

#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace kel;

namespace {

struct Shape {
    quint16 format = 1; // 1 PCM, 3 float, 0xFFFE extensible
    int bits = 16, channels = 1, rate = 22050;
};

// A 440 Hz tone at half scale, the same on every channel.
QByteArray wav(Shape s, double seconds = 0.5)
{
    const int bytes = s.bits / 8;
    const quint32 frames = quint32(seconds * s.rate);
    const quint32 dataBytes = frames * quint32(bytes * s.channels);
    const bool ext = s.format == 0xFFFE;
    QByteArray out;
    auto put = [&out](auto v) {
        char b[sizeof v];
        qToLittleEndian(v, b);
        out.append(b, sizeof v);
    };
    out += "RIFF";
    put(quint32((ext ? 60 : 36) + dataBytes));
    out += "WAVEfmt ";
    put(quint32(ext ? 40 : 16));
    put(quint16(s.format));
    put(quint16(s.channels));
    put(quint32(s.rate));
    put(quint32(s.rate * bytes * s.channels));
    put(quint16(bytes * s.channels));
    put(quint16(s.bits));
    if (ext) {
        put(quint16(22)); put(quint16(s.bits)); put(quint32(0));
        put(quint16(1)); out += QByteArray(14, '\x10'); // PCM sub-format
    }
    out += "data";
    put(dataBytes);
    for (quint32 i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2 * M_PI * 440 * i / s.rate);
        for (int c = 0; c < s.channels; ++c) {
            const double x = v;
            if (s.format == 3 && s.bits == 32) put(float(x));
            else if (s.format == 3) put(double(x));
            else if (s.bits == 8) out += char(quint8(std::lround(128 + x * 127)));
            else if (s.bits == 16) put(qint16(std::lround(x * 32767)));
            else if (s.bits == 24) { const qint32 w = qint32(std::lround(x * 8388607)); out.append(reinterpret_cast<const char *>(&w), 3); }
            else put(qint32(std::lround(x * 2147483647.0)));
        }
    }
    return out;
}

int crossings(const std::vector<qint16> &s)
{
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i)
        n += (s[i - 1] < 0) != (s[i] < 0);
    return n;
}

} // namespace

class TestWavCodec : public QObject {
    Q_OBJECT
private slots:
    void decodesEveryCommonEncoding_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("16-bit mono 22.05 kHz") << wav({});
        QTest::newRow("8-bit") << wav({1, 8});
        QTest::newRow("24-bit") << wav({1, 24});
        QTest::newRow("32-bit") << wav({1, 32});
        QTest::newRow("float") << wav({3, 32});
        QTest::newRow("double") << wav({3, 64});
        QTest::newRow("stereo") << wav({1, 16, 2});
        QTest::newRow("96 kHz") << wav({1, 16, 1, 96000});
        QTest::newRow("8 kHz") << wav({1, 16, 1, 8000});
        QTest::newRow("extensible 24-bit stereo 48 kHz") << wav({0xFFFE, 24, 2, 48000});
        QByteArray withList = wav({});
        withList.insert(12, QByteArray("LIST\x03\0\0\0abc\0", 12)); // odd chunk, padded
        QTest::newRow("odd chunk before the format") << withList;
    }

    // The same 0.5 s tone at half scale, at the player's rate.
    void decodesEveryCommonEncoding()
    {
        QFETCH(QByteArray, file);
        QString why;
        const std::optional<Audio> audio = decodeWav(file, &why);
        QVERIFY2(audio, qPrintable(why));
        const std::vector<qint16> pcm = toPlayback(*audio);
        QVERIFY(std::abs(qsizetype(pcm.size()) - kPlaybackRate / 2) <= 2);
        QVERIFY(std::abs(crossings(pcm) - 440) <= 2);
        const int peak = std::abs(*std::max_element(pcm.begin(), pcm.end(), [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); }));
        QVERIFY2(std::abs(peak - 16384) < 400, qPrintable(QString::number(peak)));
    }

    void refusesBrokenFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good = wav({});
        QByteArray claims2GB = good;
        qToLittleEndian(quint32(0x7FFF0000), claims2GB.data() + 40);
        QByteArray riff2GB = good;
        qToLittleEndian(quint32(0x7FFF0000), riff2GB.data() + 4);
        QByteArray adpcm = good;
        qToLittleEndian(quint16(2), adpcm.data() + 20);
        QByteArray noChannels = good;
        qToLittleEndian(quint16(0), noChannels.data() + 22);
        QByteArray dataFirst = good.left(12) + good.mid(36) + good.mid(12, 24);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("a bare RIFF") << QByteArray("RIFF");
        QTest::newRow("cut off at 10,000 bytes") << good.left(10'000);
        QTest::newRow("data claims 2 GB") << claims2GB;
        QTest::newRow("RIFF claims 2 GB") << riff2GB;
        QTest::newRow("text") << QByteArray("RIFF is not what this is, just text.\n");
        QTest::newRow("ADPCM") << adpcm;
        QTest::newRow("no channels") << noChannels;
        QTest::newRow("data before format") << dataFirst;
    }

    void refusesBrokenFiles()
    {
        QFETCH(QByteArray, file);
        QString why;
        const std::optional<Audio> audio = decodeWav(file, &why);
        QVERIFY(!audio);
        QVERIFY(!why.isEmpty());
    }

    // The bank: a refused file plays nothing, a file replaced on disk is
    // decoded afresh at its next use, a removed one plays nothing.
    void bankFollowsTheFileOnDisk()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("あ.wav"));
        const auto put = [&](const QByteArray &bytes) {
            QFile f(path + ".new");
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
            f.close();
            QVERIFY(std::rename(QFile::encodeName(f.fileName()), QFile::encodeName(path)) == 0);
        };
        SoundBank bank;
        put(wav({}, 0.4));
        QCOMPARE(bank.get(path)->size(), size_t(kPlaybackRate * 2 / 5));
        put(wav({}, 0.2));
        QCOMPARE(bank.get(path)->size(), size_t(kPlaybackRate / 5));
        put(wav({}).left(10'000));
        QVERIFY(!bank.get(path));
        QFile::remove(path);
        QVERIFY(!bank.get(path));
        std::atomic<bool> cancelled = false;
        put(wav({}, 0.5));
        QCOMPARE(bank.preload(dir.path(), cancelled), 1);
        QCOMPARE(bank.bytesHeld(), qint64(kPlaybackRate));
    }
};

QTEST_GUILESS_MAIN(TestWavCodec)
#include "test_wav_codec.moc"

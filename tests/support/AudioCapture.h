#pragma once
// Sound test helpers: making and reading 16-bit WAV files, and hearing what
// the program plays by recording the monitor of the null sink
// "kelvoran_null" that tools/with-pulse makes the default sink.

#include "support/Files.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <optional>

namespace kel::test {

inline constexpr int kCaptureRate = 44100; // mono

// How a generated WAV file is encoded.
struct WavShape {
    quint16 format = 1; // 1 PCM, 3 float, 0xFFFE extensible PCM
    int bits = 16, channels = 1, rate = 22050;
};

// A WAV file: a tone at `level` of full scale on every channel, then silence.
inline QByteArray toneWav(double hertz, double seconds, double quietSeconds = 0.0, WavShape s = {}, double level = 0.25)
{
    const int bytes = s.bits / 8, frameBytes = bytes * s.channels;
    const quint32 frames = quint32((seconds + quietSeconds) * s.rate), dataBytes = frames * quint32(frameBytes);
    const bool ext = s.format == 0xFFFE;
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(0x46464952) << quint32((ext ? 60 : 36) + dataBytes) << quint32(0x45564157) // "RIFF" size "WAVE"
        << quint32(0x20746d66) << quint32(ext ? 40 : 16) << s.format << quint16(s.channels)    // "fmt " size format
        << quint32(s.rate) << quint32(s.rate * frameBytes) << quint16(frameBytes) << quint16(s.bits);
    if (ext) // valid bits, no speaker mask, and the PCM sub-format
        out << quint16(22) << quint16(s.bits) << quint32(0) << quint32(1) << quint32(0x00100000) << quint32(0xAA000080) << quint32(0x719B3800);
    out << quint32(0x61746164) << dataBytes; // "data" size
    for (quint32 i = 0; i < frames; ++i) {
        const double x = i < seconds * s.rate ? level * std::sin(2 * M_PI * hertz * i / s.rate) : 0.0;
        const quint64 word = s.format == 3 ? (s.bits == 32 ? std::bit_cast<quint32>(float(x)) : std::bit_cast<quint64>(x))
                                           : quint64(std::llround(x * double((1LL << (s.bits - 1)) - 1)) + (s.bits == 8 ? 128 : 0));
        for (int b = 0; b < frameBytes; ++b)
            out << quint8(word >> 8 * (b % bytes));
    }
    return wav;
}

// The samples of a 16-bit WAV file, channels interleaved; nullopt for any
// other file. A data chunk whose stated size runs past the end (a recorder
// stopped before it could finish its header) is read to the end.
inline std::optional<QList<qint16>> samples16(const QByteArray &wav)
{
    const auto u32 = [&](qsizetype at) { return qsizetype(qFromLittleEndian<quint32>(wav.constData() + at)); };
    bool sixteenBits = false;
    for (qsizetype at = 12; wav.startsWith("RIFF") && at + 8 <= wav.size(); at += 8 + u32(at + 4) + (u32(at + 4) & 1)) {
        if (wav.mid(at, 4) == "fmt " && at + 24 <= wav.size())
            sixteenBits = qFromLittleEndian<quint16>(wav.constData() + at + 22) == 16;
        if (wav.mid(at, 4) == "data" && sixteenBits) {
            QList<qint16> samples((std::min(wav.size(), at + 8 + u32(at + 4)) - at - 8) / 2);
            qFromLittleEndian<qint16>(wav.constData() + at + 8, samples.size(), samples.data());
            return samples;
        }
    }
    return std::nullopt;
}

// One sound, in seconds from the recording's start: from its first sample
// reaching 2% of full scale after at least `quiet` seconds below it to its
// last such sample, and the frequency its first 20 ms cross zero at.
struct Sound { double onset, end, hertz; };

// The sounds heard; by default, parts less than 0.15 s apart are one.
inline QList<Sound> soundsIn(const QList<qint16> &samples, double quiet = 0.15)
{
    QList<Sound> sounds;
    const qsizetype gap = qsizetype(quiet * kCaptureRate), window = kCaptureRate / 50;
    qsizetype lastLoud = -gap - 1;
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) < 32768 / 50)
            continue;
        if (i - lastLoud > gap) {
            int crossings = 0;
            for (qsizetype j = i + 1; j < std::min(i + window, samples.size()); ++j)
                crossings += (samples[j - 1] < 0) != (samples[j] < 0);
            sounds.append({double(i) / kCaptureRate, 0, crossings / 2.0 / (double(window) / kCaptureRate)});
        }
        sounds.last().end = double(i + 1) / kCaptureRate;
        lastLoud = i;
    }
    return sounds;
}

// Records `device` (the null sink's monitor by default) while `play` runs:
// the samples heard, mono at kCaptureRate.
inline QList<qint16> recordingWhile(const QString &wavPath, const std::function<void()> &play,
                                    const QString &device = QStringLiteral("kelvoran_null.monitor"))
{
    QFile::remove(wavPath); // only the new recording's growth counts
    QProcess recorder;
    recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Small blocks: stopping loses almost nothing.
    recorder.start(QStringLiteral("parecord"), {"--device=" + device, "--file-format=wav", "--format=s16le", "--channels=1",
                                                QStringLiteral("--rate=%1").arg(kCaptureRate), "--latency-msec=10", wavPath});
    // Nothing is played before the recording runs, lest its start be missed.
    if (!QTest::qWaitFor([&] { return QFileInfo(wavPath).size() > 44 + kCaptureRate / 10; }, 5000)) // 50 ms
        qWarning("the recorder delivers no sound");
    play();
    recorder.terminate();
    recorder.waitForFinished(5000);
    return samples16(readFile(wavPath)).value_or(QList<qint16>());
}

inline QByteArray describe(const QList<Sound> &sounds)
{
    QString text = QStringLiteral("sounds (s):");
    for (const Sound &s : sounds)
        text += QStringLiteral(" %1-%2 %3Hz").arg(s.onset, 0, 'f', 3).arg(s.end, 0, 'f', 3).arg(qRound(s.hertz));
    return text.toUtf8();
}

} // namespace kel::test

// Fails the test, saying why, without the audio server that ctest's fixture
// (or tools/with-pulse) starts: a test that cannot run never passes as skipped.
#define KEL_REQUIRE_NULL_SINK()                                                                                 \
    do {                                                                                                        \
        if (kel::test::runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")}).value_or("").trimmed() != "kelvoran_null") \
            QFAIL("no PulseAudio server with the default sink \"kelvoran_null\" (ctest starts one; "          \
                  "alone, run under tools/with-pulse)");                                                        \
    } while (false)

#pragma once
// Sound test helpers: running command line tools, reading 16-bit WAV files,
// and hearing what the program plays by recording the monitor of the null
// sink "kelvoran_null" that tools/with-pulse makes the default sink.

#include "base/Clock.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <functional>
#include <optional>

namespace kel::test {

inline constexpr int kCaptureRate = 44100; // mono

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs a tool to its end: its standard output, or nullopt when it cannot be
// started, times out or fails. What it says on standard error goes to the log.
inline std::optional<QByteArray> runTool(const QString &program, const QStringList &args,
                                         int timeoutMs = 10'000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    // False too when it never started; one that hangs is killed on leaving.
    const bool done = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    return done && process.exitCode() == 0 ? std::optional(process.readAllStandardOutput()) : std::nullopt;
}

// Holds this thread for `seconds`, then lets pending events run once, the
// way each step of a reading ends.
inline void step(double seconds)
{
    SteadyClock clock;
    waitMoreThan(clock, clock.now(), seconds);
    QCoreApplication::processEvents();
}

// A mono 16-bit WAV file: a tone at a quarter of full scale, then silence.
inline QByteArray toneWav(double hertz, double seconds, double quietSeconds = 0.0)
{
    constexpr int rate = 22050;
    const quint32 frames = quint32((seconds + quietSeconds) * rate);
    QByteArray wav;
    QDataStream out(&wav, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(0x46464952) << quint32(36 + 2 * frames) << quint32(0x45564157) // "RIFF" size "WAVE"
        << quint32(0x20746d66) << quint32(16) << quint16(1) << quint16(1)         // "fmt " size PCM mono
        << quint32(rate) << quint32(2 * rate) << quint16(2) << quint16(16)        // rate, 16 bits
        << quint32(0x61746164) << quint32(2 * frames);                             // "data" size
    for (quint32 i = 0; i < frames; ++i)
        out << qint16(i < seconds * rate ? 8000 * std::sin(2 * M_PI * hertz * i / rate) : 0);
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

// The loudest of `count` samples from `from` (all when -1), as a fraction of full scale.
inline double peakOf(const QList<qint16> &samples, qsizetype from = 0, qsizetype count = -1)
{
    int peak = 0;
    for (qint16 s : samples.mid(from, count))
        peak = std::max(peak, std::abs(int(s)));
    return peak / 32768.0;
}

// One stretch of sound, in seconds from the recording's start: from the
// first loud 5 ms block after a silence to the last one before the next.
struct Sound { double onset, end; };

// A block is loud when a sample reaches 2% of full scale; loud blocks less
// than 0.15 s apart belong to the same sound.
inline QList<Sound> soundsIn(const QList<qint16> &samples)
{
    QList<Sound> sounds;
    constexpr qsizetype block = kCaptureRate / 200;
    for (qsizetype from = 0; from < samples.size(); from += block) {
        const double at = double(from) / kCaptureRate;
        if (peakOf(samples, from, block) < 0.02)
            continue;
        if (sounds.isEmpty() || at - sounds.last().end >= 0.15)
            sounds.append({at, at});
        sounds.last().end = at + double(block) / kCaptureRate;
    }
    return sounds;
}

// Records the null sink's monitor while `play` runs, and finds the sounds in
// the recording.
inline QList<Sound> soundsWhile(const QString &wavPath, const std::function<void()> &play)
{
    QFile::remove(wavPath); // only the new recording's growth counts
    QProcess recorder;
    recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    recorder.start(QStringLiteral("parecord"),
                   {QStringLiteral("--device=kelvoran_null.monitor"), QStringLiteral("--file-format=wav"),
                    QStringLiteral("--format=s16le"), QStringLiteral("--channels=1"), QStringLiteral("--rate=%1").arg(kCaptureRate),
                    QStringLiteral("--latency-msec=10"), // small blocks: stopping loses almost nothing
                    wavPath});
    // Nothing is played before the recording runs, lest its start be missed.
    if (!QTest::qWaitFor([&] { return QFileInfo(wavPath).size() > 44 + kCaptureRate / 10; }, 5000)) // 50 ms
        qWarning("the recorder delivers no sound");
    play();
    recorder.terminate();
    recorder.waitForFinished(5000);
    return soundsIn(samples16(readFile(wavPath)).value_or(QList<qint16>()));
}

inline QByteArray describe(const QList<Sound> &sounds)
{
    QString text = QStringLiteral("sounds (s):");
    for (const Sound &s : sounds)
        text += QStringLiteral(" %1-%2").arg(s.onset, 0, 'f', 3).arg(s.end, 0, 'f', 3);
    return text.toUtf8();
}

} // namespace kel::test

// Skips the test without the audio server tools/with-pulse starts (fails it
// on CI, where the server must be there).
#define KEL_REQUIRE_NULL_SINK()                                                                                  \
    do {                                                                                                         \
        const auto sink = kel::test::runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")});     \
        if (!sink || sink->trimmed() != "kelvoran_null") {                                                       \
            const char *why = "no PulseAudio server with the default sink \"kelvoran_null\" (run under tools/with-pulse)"; \
            if (qEnvironmentVariableIsSet("CI"))                                                                 \
                QFAIL(why);                                                                                      \
            QSKIP(why);                                                                                          \
        }                                                                                                        \
    } while (false)

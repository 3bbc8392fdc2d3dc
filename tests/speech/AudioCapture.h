#pragma once
// Hears what the program plays: records the monitor of the null sink
// "kelvoran_null" that tools/with-pulse sets up as the default sink, and
// finds where sounds begin and end in the recording. Test helper; Qt Core.

#include "WavPcm.h"
#include "app/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include <chrono>
#include <optional>

namespace kel::test {

inline constexpr char kNullSink[] = "kelvoran_null";

// Runs a short command line tool to its end; its standard output, or nullopt
// when it cannot be started, times out or fails.
inline std::optional<QByteArray> runTool(const QString &program, const QStringList &args,
                                         int timeoutMs = 10'000)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted() || !process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

// "" when sound can be recorded here, else the reason why not.
inline QString audioCaptureUnavailable()
{
    if (!runTool(QStringLiteral("pactl"), {QStringLiteral("info")}))
        return QStringLiteral("no PulseAudio server answers (run the test under tools/with-pulse)");
    const auto sinks = runTool(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                                         QStringLiteral("sinks")});
    if (!sinks || !sinks->contains(QByteArray("\t") + kNullSink + '\t'))
        return QStringLiteral("the server has no sink \"kelvoran_null\" (run the test under tools/with-pulse)");
    const auto fallback = runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")});
    if (!fallback || fallback->trimmed() != kNullSink)
        return QStringLiteral("\"kelvoran_null\" is not the default sink (run the test under tools/with-pulse)");
    return {};
}

// Records the null sink's monitor into a WAV file between start() and stop().
class NullSinkRecorder {
public:
    ~NullSinkRecorder()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Returns once the recorder delivers sound, so that nothing played after
    // it is missed; false when it does not within a few seconds.
    bool start(const QString &wavPath)
    {
        path_ = wavPath;
        QFile::remove(wavPath); // only the new recording's growth counts
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("parecord"),
                       {QStringLiteral("--device=%1.monitor").arg(QLatin1String(kNullSink)),
                        QStringLiteral("--file-format=wav"), QStringLiteral("--format=s16le"),
                        QStringLiteral("--channels=1"), QStringLiteral("--rate=44100"),
                        // Small blocks, so that stopping loses almost nothing.
                        QStringLiteral("--latency-msec=10"), wavPath});
        if (!process_.waitForStarted())
            return false;
        SteadyClock clock;
        const Nanos begin = clock.now();
        while (clock.now() - begin < std::chrono::seconds(5)) {
            if (QFileInfo(wavPath).size() > 44 + 44100 * 2 / 20) // 50 ms past the header
                return true;
            if (process_.state() == QProcess::NotRunning)
                return false;
            clock.sleepFor(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Ends the recording and reads it; nullopt if there is none.
    std::optional<Pcm> stop()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished();
        }
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return parseWav16(file.readAll());
    }

private:
    QProcess process_;
    QString path_;
};

// One stretch of sound: from the first loud block after a silence to the
// last loud block before the next silence, in seconds from the recording's
// start.
struct Sound {
    double onset = 0.0;
    double end = 0.0;
    double peak = 0.0; // fraction of full scale
};

// Cuts the recording into 5 ms blocks; a block is loud when a sample reaches
// `threshold` of full scale. Loud blocks separated by less than `minGap`
// seconds of quiet belong to the same sound.
inline QList<Sound> soundsIn(const Pcm &pcm, double threshold = 0.02, double minGap = 0.15)
{
    QList<Sound> sounds;
    const qsizetype block = std::max(1, pcm.sampleRate / 200);
    const double blockSeconds = double(block) / pcm.sampleRate;
    for (qsizetype from = 0; from < pcm.frames(); from += block) {
        const double peak = peakOf(pcm, from, from + block);
        if (peak < threshold)
            continue;
        const double at = double(from) / pcm.sampleRate;
        if (sounds.isEmpty() || at - sounds.last().end >= minGap)
            sounds.append({at, at + blockSeconds, peak});
        sounds.last().end = at + blockSeconds;
        sounds.last().peak = std::max(sounds.last().peak, peak);
    }
    return sounds;
}

} // namespace kel::test

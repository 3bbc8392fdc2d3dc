// Touch on the board -> audible sound, against a low-latency reference
// stream started at the same moment, through PulseAudio (run under
// tools/with-pulse).
//
// Method: the null sink "kelvoran_null" is the default output and its
// monitor is recorded for the whole run. A reference stream (pacat with a
// 5 ms latency) stands open on the same sink. In each trial the reference's
// 2 kHz tone is written into it and, at once, the board cell "あ" is
// released (the one-touch entry rule voices it); "あ.wav" is a 500 Hz tone.
// The moments of both are taken on the steady clock. In the recording each
// tone's onset is the first 1 ms step at which a 4 ms Goertzel window at its
// frequency reaches half its steady level; the figure is the onset of the
// touch's tone minus that of the reference, corrected for the microseconds
// between the two writes.
//
// Then the pace of "読む": the steps between the onsets of twelve read
// characters, against 0.8 s.
//
//   bench_latency [--sound-effect]   the latter measures the previous
//                                    player (a QSoundEffect per touch)
#include "BenchUtil.h"
#include "SoundEffectPlayer.h"
#include "support/AudioCapture.h"
#include "speech/QtWavePlayer.h"
#include "support/TalkFixture.h"

#include <QProcess>

#include <cmath>

using namespace kel;
using namespace kel::test;

namespace {

constexpr int kTrials = 21;
constexpr int kRate = kCaptureRate;

double goertzel(const QList<qint16> &s, qsizetype from, qsizetype n, double hz)
{
    const double w = 2 * M_PI * hz / kRate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (qsizetype i = from; i < from + n && i < s.size(); ++i) {
        const double s0 = s[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - c * s1 * s2) / double(n);
}

// Onsets (seconds) of a tone at `hz`: where the level first reaches half the
// loudest level seen, after at least 0.4 s below it.
std::vector<double> onsets(const QList<qint16> &s, double hz)
{
    constexpr qsizetype win = kRate / 250, hop = kRate / 1000;
    std::vector<double> levels;
    for (qsizetype at = 0; at + win < s.size(); at += hop)
        levels.push_back(goertzel(s, at, win, hz));
    const double top = *std::max_element(levels.begin(), levels.end());
    std::vector<double> out;
    double lastLoud = -1;
    for (size_t i = 0; i < levels.size(); ++i) {
        const double t = double(i) / 1000;
        if (levels[i] < top / 2)
            continue;
        if (lastLoud < 0 || t - lastLoud > 0.4)
            out.push_back(t);
        lastLoud = t;
    }
    return out;
}

QByteArray rawTone(double hz, double seconds)
{
    QByteArray out;
    for (int i = 0; i < int(seconds * kRate); ++i) {
        const qint16 v = qint16(8000 * std::sin(2 * M_PI * hz * i / kRate));
        out.append(reinterpret_cast<const char *>(&v), 2);
    }
    return out;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No suggestions: they would cover the board after the first pick.
    TalkFixture fx({{"OPT1", "2"}, {"Samp", "0"}});
    fx.writeFile(QStringLiteral("あ.wav"), toneWav(500, 0.3));
    QtWavePlayer kept;
    bench::SoundEffectPlayer previous;
    const bool old = app.arguments().contains(QStringLiteral("--sound-effect"));
    WavePlayer &player = old ? static_cast<WavePlayer &>(previous) : kept;
    SteadyClock steady;
    fx.win->talk().sv.player = &player;
    fx.win->talk().sv.clock = &steady;
    kept.preload(fx.home.path());
    if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000)) {
        std::puts("no audio output (run under tools/with-pulse)");
        return 1;
    }
    QProcess reference;
    reference.start(QStringLiteral("pacat"), {"--playback", "--device=kelvoran_null", "--raw", "--format=s16le",
                                               "--channels=1", QStringLiteral("--rate=%1").arg(kRate), "--latency-msec=5"});
    if (!reference.waitForStarted()) {
        std::puts("pacat does not start");
        return 1;
    }
    QTest::qWait(500);
    const QByteArray refTone = rawTone(2000, 0.3);
    std::vector<double> gaps;
    const QList<qint16> ignored = recordingWhile(QDir::temp().filePath(QStringLiteral("kelvoran-latency.wav")), [&] {
        for (int i = 0; i < kTrials; ++i) {
            pressCell(fx.ui().grdBoard, 0, 9);
            const Nanos written = steady.now();
            reference.write(refTone);
            reference.waitForBytesWritten(100);
            const Nanos touched = steady.now();
            releaseCell(fx.ui().grdBoard, 0, 9); // voices "あ", holds 0.5 s
            gaps.push_back(std::chrono::duration<double>(touched - written).count());
            QTest::qWait(400);
        }
    });
    Q_UNUSED(ignored);
    reference.closeWriteChannel();
    reference.waitForFinished(2000);
    const QList<qint16> recorded = samples16(readFile(QDir::temp().filePath(QStringLiteral("kelvoran-latency.wav")))).value_or(QList<qint16>());
    const std::vector<double> ref = onsets(recorded, 2000), touch = onsets(recorded, 500);
    std::vector<double> behind;
    for (size_t i = 0; i < ref.size(); ++i)
        for (double t : touch)
            if (std::abs(t - ref[i]) < 0.2)
                behind.push_back((t - ref[i] - (i < gaps.size() ? gaps[i] : 0)) * 1000);
    std::printf("%zu trials: reference onsets %zu, touch onsets %zu, matched %zu\n", gaps.size(), ref.size(),
                touch.size(), behind.size());
    if (!behind.empty())
        bench::report(old ? "previous player: touch -> audible, behind the reference"
                          : "touch -> audible, behind the 5 ms reference stream", behind);

    // How even "読む" is: the step between the sounds of a read text against
    // its 0.8 s pace (the tests hear only what is played, and in what order).
    fx.setText(QString(12, u'あ') + u'_', 0);
    const QList<qint16> reading = recordingWhile(QDir::temp().filePath(QStringLiteral("kelvoran-pace.wav")), [&] {
        TalkFixture::click(fx.ui().cmdRead);
        QTest::qWait(400);
    });
    const std::vector<double> steps = onsets(reading, 500);
    std::vector<double> offPace;
    for (size_t i = 1; i < steps.size(); ++i)
        offPace.push_back((steps[i] - steps[i - 1] - 0.8) * 1000);
    std::printf("reading 12 characters: %zu onsets\n", steps.size());
    if (!offPace.empty())
        bench::report("reading: each step minus the 0.8 s pace", offPace);
    return 0;
}

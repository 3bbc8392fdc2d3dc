// The player's start-up decoding and the studio's shaping of a take.
//   bench_voice [--set DIR]   DIR: a sound set (default: 239 generated
//                             0.6 s files at 22.05 kHz, like the default set)
#include "BenchUtil.h"
#include "support/AudioCapture.h"
#include "speech/SoundBank.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"
#include "voice/TakeShaper.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>

using namespace kel;

namespace {

long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir generated;
    QString set = generated.path();
    const QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--set")); at > 0 && at + 1 < args.size()) {
        set = args[at + 1];
    } else {
        for (const QString &ch : soundSetCharacters())
            test::writeFile(set + QLatin1Char('/') + ch + QStringLiteral(".wav"), test::toneWav(300, 0.45, 0.15));
    }

    std::vector<double> ms;
    qint64 held = 0;
    long grewKb = 0;
    int files = 0;
    for (int run = 0; run < 11; ++run) {
        const long before = rssKb();
        SoundBank bank;
        std::atomic<bool> cancelled = false;
        QElapsedTimer t;
        t.start();
        files = bank.preload(set, cancelled);
        ms.push_back(t.nsecsElapsed() / 1e6);
        held = bank.bytesHeld();
        grewKb = std::max(grewKb, rssKb() - before);
    }
    std::printf("sound set: %d files in %s\n", files, qPrintable(set));
    bench::report("decoding the whole set (on the preload thread)", ms);
    std::printf("decoded sound held: %.1f MB; resident memory grew by at most %.1f MB\n", held / 1048576.0, grewKb / 1024.0);

    // A 5 s take: 1.5 s of room noise, 2 s of a voice-like tone, 1.5 s of noise.
    constexpr int kRate = 44100;
    std::vector<float> take(size_t(5 * kRate));
    QRandomGenerator rng(1);
    for (size_t i = 0; i < take.size(); ++i) {
        const double t = double(i) / kRate;
        take[i] = float(0.0003 * (2 * rng.generateDouble() - 1) + (t > 1.5 && t < 3.5 ? 0.05 * std::sin(2 * M_PI * 220 * t) : 0));
    }
    const std::vector<double> shaping = bench::timeRuns(51, [&] { (void)shapeTake(take, kRate, -70); });
    bench::report("trimming and levelling a 5 s take", shaping);
    return 0;
}

// The spoken reading as heard through the null sink (run under
// tools/with-pulse):
//   heard      with the default set, at 6, 8 and 10 morae a second: the
//              share of each mora's energy heard against its file, and how
//              far each vowel is heard off an even beat. Every third mora
//              sounds in a run (the others are silent cues on the same
//              beats, which end a sound as a mora does), so that each
//              mora is heard on its own; the recording is aligned to the
//              rendering by its first sound.
//   load       50 readings of tones with both cores kept busy: every mora
//              heard, each onset against its beat.
//   stop       a reading stopped part-way: how soon its sound ends.
// Prints medians. Run by hand:
//   tools/with-pulse build/bench/bench_playback [--heard|--load [--busy=N]|--stop] [VOICES]
#include "BenchUtil.h"
#include "support/AudioCapture.h"

#include "reading/Morae.h"
#include "speech/QtWavePlayer.h"
#include "speech/SpokenTimeline.h"
#include "speech/TimelineRender.h"
#include "speech/WavCodec.h"
#include "speech/WavName.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cmath>
#include <numeric>
#include <cstdio>

using namespace kel;
using namespace kel::bench;

namespace {

const QStringList kSentences{
    QStringLiteral("きょうわいいてんきですね"), QStringLiteral("ありがとうございます"), QStringLiteral("おなかがすきました"),
    QStringLiteral("ちょっとまってください"),   QStringLiteral("みずをのみたいです"),     QStringLiteral("しゃしんをとってもいいですか"),
    QStringLiteral("びょういんにいきたいです"), QStringLiteral("せなかがかゆいです"),     QStringLiteral("てれびをつけてください"),
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

QList<SpokenUnit> unitsOf(const QString &kana)
{
    QList<SpokenUnit> units;
    for (const KanaMora &m : splitMorae(kana))
        units.append({m.mora == u"っ" ? SpokenUnit::Hold : SpokenUnit::Mora, m.mora, units.size(), 1});
    return units;
}

qsizetype firstLoud(const std::vector<qint16> &s, qsizetype from = 0)
{
    for (qsizetype i = from; i < qsizetype(s.size()); ++i)
        if (std::abs(int(s[size_t(i)])) >= 32768 / 50)
            return i;
    return -1;
}

// The recorder is scheduled before ordinary work where the system allows
// it: under load a starved recorder loses what it should have heard, and
// the loss would be taken for the player's.
std::vector<qint16> recorded(QtWavePlayer &player, const std::vector<Cue> &cues, long long end, const QString &capture)
{
    QFile::remove(capture);
    QProcess recorder;
    recorder.start(QStringLiteral("chrt"), {"-r", "1", "parecord", "--device=kelvoran_null.monitor", "--file-format=wav", "--format=s16le",
                                            "--channels=1", QStringLiteral("--rate=%1").arg(kPlaybackRate), "--latency-msec=10", capture});
    if (!QTest::qWaitFor([&] { return QFileInfo(capture).size() > 44 + kPlaybackRate / 10; }, 5000))
        std::printf("bench_playback: the recorder delivers no sound\n");
    player.playTimeline(cues, end);
    QTest::qWait(int(1000 * end / kPlaybackRate) + 400);
    recorder.terminate();
    recorder.waitForFinished(5000);
    const QList<qint16> heard = test::samples16(test::readFile(capture)).value_or(QList<qint16>());
    return std::vector<qint16>(heard.begin(), heard.end());
}

// Where in `s` a sound's energy first comes within 6 dB of its loudest 5 ms:
// its vowel as the ear places it, found without the player's own measure.
qsizetype heardVowel(const std::vector<qint16> &s, qsizetype from, qsizetype to)
{
    constexpr qsizetype block = kPlaybackRate / 200;
    std::vector<double> levels;
    for (qsizetype b = from; b + block <= to; b += block) {
        double e = 0;
        for (qsizetype i = b; i < b + block; ++i)
            e += double(s[size_t(i)]) * s[size_t(i)];
        levels.push_back(e);
    }
    if (levels.empty())
        return from;
    const double peak = *std::max_element(levels.begin(), levels.end());
    return from + block * qsizetype(std::find_if(levels.begin(), levels.end(), [&](double e) { return e >= peak / 4; }) - levels.begin());
}

void heard(const QString &voices)
{
    QtWavePlayer player;
    if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
        std::printf("bench_playback: no output device\n");
    QTemporaryDir dir;
    const SoundLookup inSet = [&](const QString &name) -> std::optional<QString> {
        const std::optional<QString> p = wavPathFor(voices, name);
        return p && QFileInfo::exists(*p) ? p : std::nullopt;
    };
    for (int rate : {6, 8, 10}) {
        std::vector<double> shares, offBeat, lengths, before;
        std::vector<QString> names;
        int whole = 0;
        for (const QString &sentence : kSentences) {
            const SpokenTimeline line = spokenTimeline(unitsOf(sentence), rate, inSet);
            for (size_t k = 0; k < 3; ++k) {
                std::vector<Cue> cues = line.cues;
                std::vector<PlacedSound> placed;
                for (size_t i = 0; i < cues.size(); ++i) {
                    if (i % 3 != k)
                        cues[i].path.clear();
                    const SoundBank::Sound s = cues[i].path.isEmpty() ? SoundBank::Sound() : player.bank().sound(cues[i].path);
                    placed.push_back({s.samples, s.onset, cues[i].frame});
                }
                TimelineRender render(placed, line.endFrame);
                std::vector<qint16> expected(size_t(render.length()));
                render.render(0, expected);
                const std::vector<qint16> got = recorded(player, cues, line.endFrame, dir.filePath("capture"));
                const qsizetype shift = firstLoud(got) - firstLoud(expected);
                if (firstLoud(got) < 0 || firstLoud(expected) < 0)
                    continue;
                for (size_t i = k; i < placed.size(); i += 3) {
                    if (!placed[i].samples)
                        continue;
                    const std::vector<qint16> &file = *placed[i].samples;
                    const qsizetype start = render.lead() + placed[i].frame - placed[i].onset + shift;
                    qsizetype to = start + qsizetype(file.size()) + kPlaybackRate / 20;
                    if (i + 3 < placed.size())
                        to = std::min(to, render.lead() + placed[i + 3].frame - placed[i + 3].onset + shift);
                    to = std::min(to, qsizetype(got.size()));
                    double fileEnergy = 0, heardEnergy = 0;
                    for (qint16 v : file)
                        fileEnergy += double(v) * v;
                    for (qsizetype t = std::max<qsizetype>(0, start); t < to; ++t)
                        heardEnergy += double(got[size_t(t)]) * got[size_t(t)];
                    if (fileEnergy <= 0)
                        continue;
                    shares.push_back(std::min(1.0, heardEnergy / fileEnergy));
                    whole += heardEnergy >= 0.9 * fileEnergy;
                    lengths.push_back(double(file.size()) / kPlaybackRate);
                    // As the player used to cut: from the file's start on the
                    // beat to 5 ms past the next beat.
                    const size_t cut = size_t(beatFrame(1, rate) + kPlaybackRate / 200);
                    double withinCut = 0;
                    for (size_t t = 0; t < std::min(cut, file.size()); ++t)
                        withinCut += double(file[t]) * file[t];
                    before.push_back(withinCut / fileEnergy);
                    const qsizetype vowel = heardVowel(got, std::max<qsizetype>(0, start), to) - shift - render.lead();
                    offBeat.push_back(1000.0 * double(vowel - placed[i].frame) / kPlaybackRate);
                    names.push_back(QFileInfo(line.cues[i].path).completeBaseName());
                }
            }
        }
        // Off an even beat: each vowel against its beat, the sentence's
        // common delay taken out.
        const double common = median(offBeat);
        std::vector<double> spread;
        for (double d : offBeat)
            spread.push_back(std::abs(d - common));
        std::printf("heard at %2d morae/s: energy heard median %.1f %%, 10th percentile %.1f %%, %d of %zu morae >= 90 %%;"
                    " vowel off the beat median %.1f ms, 90th percentile %.1f ms, max %.1f ms (median mora %.3f s;"
                    " cut at the next beat as before: median %.1f %%, 10th percentile %.1f %%)\n",
                    rate, 100 * median(shares), 100 * percentile(shares, 0.1), whole, shares.size(), median(spread),
                    percentile(spread, 0.9), spread.empty() ? 0.0 : *std::max_element(spread.begin(), spread.end()), median(lengths),
                    100 * median(before), 100 * percentile(before, 0.1));
        // The morae furthest off, to say which kinds of sound the onset
        // finder misplaces: heard late (+) or early (-) against the rest.
        std::vector<size_t> order(spread.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return spread[a] > spread[b]; });
        std::printf("  furthest off:");
        for (size_t j = 0; j < std::min<size_t>(12, order.size()); ++j)
            std::printf(" %s %+.0f", qPrintable(names[order[j]]), offBeat[order[j]] - common);
        std::printf(" ms\n");
    }
}

// Busy loops on every core, for as long as it lives.
struct BusyCores {
    explicit BusyCores(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto *p = new QProcess;
            p->start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("while :; do :; done")});
            p->waitForStarted();
            loops.append(p);
        }
    }
    ~BusyCores()
    {
        for (QProcess *p : loops) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
    }
    QList<QProcess *> loops;
};

void underLoad(int busyLoops)
{
    constexpr int kRate = 8, kMorae = 24, kReadings = 50;
    QTemporaryDir dir;
    const QStringList morae{"あ", "い", "う", "え", "お"};
    for (int i = 0; i < morae.size(); ++i)
        test::writeFile(dir.filePath(morae[i] + ".wav"), test::toneWav(300 + 200 * i, 0.4 / kRate));
    QList<SpokenUnit> units;
    for (int i = 0; i < kMorae; ++i)
        units.append({SpokenUnit::Mora, morae[i % morae.size()], i, 1});
    const SpokenTimeline line = spokenTimeline(units, kRate, [&](const QString &name) -> std::optional<QString> {
        return dir.filePath(name + ".wav");
    });
    QtWavePlayer player;
    if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
        std::printf("bench_playback: no output device\n");
    BusyCores busy(busyLoops);
    int complete = 0, onBeat = 0;
    std::vector<double> worst, all;
    for (int r = 0; r < kReadings; ++r) {
        const std::vector<qint16> got = recorded(player, line.cues, line.endFrame, dir.filePath("capture"));
        const QList<test::Sound> onsets = test::soundsIn(QList<qint16>(got.begin(), got.end()), 0.02);
        double maxMs = 0;
        for (qsizetype i = 0; i < onsets.size(); ++i) {
            const double ms = 1000 * std::abs(onsets[i].onset - onsets[0].onset - double(beatFrame(i, kRate)) / kPlaybackRate);
            maxMs = std::max(maxMs, ms);
            all.push_back(ms);
        }
        complete += onsets.size() == kMorae;
        onBeat += onsets.size() == kMorae && maxMs <= 8;
        // A reading off its beat, told apart: a stall delays every onset
        // after it by the same amount; a misheard onset stands alone.
        if (onsets.size() != kMorae || maxMs > 8) {
            std::printf("  reading %d: %lld onsets; late (ms):", r, (long long)onsets.size());
            for (qsizetype i = 0; i < onsets.size(); ++i)
                std::printf(" %.0f", 1000 * (onsets[i].onset - onsets[0].onset - double(beatFrame(i, kRate)) / kPlaybackRate));
            std::printf("\n");
        }
        worst.push_back(maxMs);
    }
    std::printf("under load (%d busy loops), %d readings of %d morae at %d/s: %d with every mora, %d with every onset"
                " within 8 ms; onset error median %.3f ms; worst per reading median %.3f ms, max %.3f ms\n",
                int(busy.loops.size()), kReadings, kMorae, kRate, complete, onBeat, median(all), median(worst),
                *std::max_element(worst.begin(), worst.end()));
}

// A reading stopped part-way: how much later its sound ends than it would
// if stopping were heard as soon as starting (both are delayed by the
// server alike), over 20 stops at different points of a 2 s tone.
void stopping()
{
    QTemporaryDir dir;
    test::writeFile(dir.filePath("tone.wav"), test::toneWav(440, 2.0));
    QtWavePlayer player;
    if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
        std::printf("bench_playback: no output device\n");
    const std::vector<Cue> cues{{dir.filePath("tone.wav"), 0}};
    std::vector<double> lags;
    for (int r = 0; r < 20; ++r) {
        const int playMs = 300 + 20 * r;
        QElapsedTimer clock;
        double stoppedAfter = 0;
        const QList<test::Sound> sounds = test::soundsIn(test::recordingWhile(dir.filePath("capture"), [&] {
            clock.start();
            player.playTimeline(cues, kPlaybackRate * 2);
            QTest::qWait(playMs);
            player.close();
            stoppedAfter = double(clock.nsecsElapsed()) / 1e6;
            QTest::qWait(500);
        }));
        if (sounds.size() == 1)
            lags.push_back(1000 * (sounds[0].end - sounds[0].onset) - stoppedAfter);
    }
    std::printf("stopped part-way, %zu of 20 heard as one sound: the sound ends after the stop later than it began after"
                " the start by median %.1f ms, max %.1f ms\n",
                lags.size(), median(lags), lags.empty() ? 0.0 : *std::max_element(lags.begin(), lags.end()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (test::runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")}).value_or("").trimmed() != "kelvoran_null") {
        std::printf("bench_playback: run under tools/with-pulse\n");
        return 1;
    }
    QStringList args = app.arguments().mid(1);
    const bool onlyHeard = args.removeAll(QStringLiteral("--heard")) > 0, onlyLoad = args.removeAll(QStringLiteral("--load")) > 0,
               onlyStop = args.removeAll(QStringLiteral("--stop")) > 0, all = !onlyHeard && !onlyLoad && !onlyStop;
    // --busy=N: N busy loops instead of one a core, a machine busier still.
    int busyLoops = QThread::idealThreadCount();
    for (const QString &a : args.filter(QStringLiteral("--busy=")))
        busyLoops = a.mid(7).toInt();
    args.removeIf([](const QString &a) { return a.startsWith(QStringLiteral("--busy=")); });
    const QString voices = args.value(0, QCoreApplication::applicationDirPath() + QStringLiteral("/../voices"));
    if (all || onlyHeard)
        heard(QDir(voices).absolutePath());
    if (all || onlyLoad)
        underLoad(busyLoops);
    if (all || onlyStop)
        stopping();
    return 0;
}

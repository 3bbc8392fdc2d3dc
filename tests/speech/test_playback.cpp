// The spoken timeline as samples, without an audio device: where a vowel
// begins, each sound placed on its beat by it and never cut before it,
// heights and levels, and the rendering streamed ahead and stopped.
#include "support/TestMain.h"

#include "accent/PitchShift.h"
#include "speech/RenderAhead.h"
#include "speech/VowelOnset.h"
#include "speech/WavCodec.h"

#include <QRandomGenerator>

#include <thread>

using namespace kel;

namespace {

constexpr int kRate = kPlaybackRate;
using Parts = QList<QPair<QString, double>>;

// Seconds of each part end to end: "hiss", a 200 Hz "vowel", "murmur" (the
// vowel 8 dB down, as the murmur of "n" or the voice bar of "b"), "quiet".
std::vector<float> said(const Parts &parts)
{
    QRandomGenerator rng(3);
    std::vector<float> out;
    for (const auto &[kind, seconds] : parts)
        for (int i = 0; i < int(seconds * kRate); ++i)
            out.push_back(float(kind == u"hiss" ? 0.2 * (2 * rng.generateDouble() - 1)
                                                : (kind == u"vowel" ? 0.4 : kind == u"murmur" ? 0.16 : 0) * std::sin(2 * M_PI * 200 * double(out.size()) / kRate)));
    return out;
}

// `frames` samples at `level` (a buzz at `hertz` when given), its vowel at
// `onset`, on `frame`; no frames: a silent cue.
struct Sound {
    int frames = 0, level = 1000;
    qsizetype onset = 0;
    long long frame = 0;
    double gain = 1, semitones = 0, hertz = 0;
};
using Sounds = QList<Sound>;
using Probes = QList<QPair<long long, int>>; // frame of the rendering, its sample; frame -1: its pitch

TimelineRender renderOf(const Sounds &sounds, long long endFrame)
{
    std::vector<PlacedSound> placed;
    for (const Sound &s : sounds) {
        auto samples = std::make_shared<std::vector<qint16>>(size_t(s.frames), qint16(s.level));
        for (size_t i = 0; s.hertz > 0 && i < samples->size(); ++i)
            (*samples)[i] = qint16(s.level * (2 * std::fmod(s.hertz * double(i) / kRate, 1.0) - 1));
        placed.push_back({s.frames ? samples : nullptr, s.onset, s.frame, s.gain, s.semitones});
    }
    return TimelineRender(std::move(placed), endFrame);
}

} // namespace

Q_DECLARE_METATYPE(Parts)
Q_DECLARE_METATYPE(Sounds)
Q_DECLARE_METATYPE(Probes)

class TestPlayback : public QObject {
    Q_OBJECT
private slots:
    void vowel_data()
    {
        QTest::addColumn<Parts>("parts");
        QTest::addColumn<double>("onset"); // seconds
        QTest::addColumn<double>("kept");  // seconds of the take trimmed to its voice
        QTest::newRow("a vowel from its first sample") << Parts{{"vowel", 0.2}} << 0.0 << 0.2;
        QTest::newRow("hiss, then the vowel") << Parts{{"hiss", 0.08}, {"vowel", 0.2}} << 0.08 << 0.28;
        QTest::newRow("a nasal murmur or voice bar is not the vowel") << Parts{{"murmur", 0.06}, {"vowel", 0.2}} << 0.06 << 0.26;
        QTest::newRow("silences cut, 5 ms before and 10 ms after kept")
            << Parts{{"quiet", 0.3}, {"hiss", 0.05}, {"vowel", 0.2}, {"quiet", 0.3}} << 0.35 << 0.265;
        QTest::newRow("no more than a consonant before the vowel") << Parts{{"hiss", 0.5}, {"vowel", 0.2}} << 0.5 << kLongestLeadSeconds + 0.2;
        QTest::newRow("hiss alone: where it comes near its loudest") << Parts{{"quiet", 0.05}, {"hiss", 0.2}} << 0.05 << 0.205;
        QTest::newRow("silence") << Parts{{"quiet", 0.2}} << 0.0 << 0.2;
    }

    void vowel()
    {
        QFETCH(Parts, parts);
        QFETCH(double, onset);
        QFETCH(double, kept);
        const std::vector<float> mono = said(parts);
        std::vector<qint16> pcm(mono.size());
        std::transform(mono.begin(), mono.end(), pcm.begin(), [](float v) { return qint16(v * 32767); });
        for (const qsizetype found : {vowelOnset(std::span<const float>(mono), kRate), vowelOnset(std::span<const qint16>(pcm), kRate)})
            QVERIFY2(std::abs(double(found) / kRate - onset) <= 0.01, qPrintable(QString::number(double(found) / kRate)));
        QVERIFY2(std::abs(double(trimmedToVoice(mono, kRate).size()) / kRate - kept) <= 0.006, qPrintable(QString::number(kept)));
    }

    void render_data()
    {
        QTest::addColumn<Sounds>("sounds");
        QTest::addColumn<long long>("end");
        QTest::addColumn<long long>("lead");
        QTest::addColumn<long long>("length");
        QTest::addColumn<Probes>("probes");
        const int x = int(kCrossFadeFrames);
        QTest::newRow("placed on its beat by its vowel")
            << Sounds{{2000, 1000, 300, 1000}} << 3000LL << 0LL << 3000LL << Probes{{699, 0}, {700, 1000}, {2699, 1000}, {2700, 0}};
        QTest::newRow("the first consonant leads in") << Sounds{{1000, 1000, 300, 0}} << 500LL << 300LL << 1000LL << Probes{{0, 1000}, {999, 1000}};
        // B's consonant starts before A's vowel has had its beat: A goes on
        // under it, whole until B's vowel, then fades under it.
        QTest::newRow("never cut before the vowel, faded under the next")
            << Sounds{{10000, 1000, 0, 0}, {4000, 100, 3000, 2000}} << 4000LL << 1000LL << 5000LL
            << Probes{{999, 100}, {1000, 1100}, {2999, 1100}, {3000 + x / 2, 600}, {3000 + x, 100}, {3999, 100}};
        QTest::newRow("a pause ends the sound before it")
            << Sounds{{10000, 1000, 0, 0}, {0, 0, 0, 2000}} << 4000LL << 0LL << 4000LL << Probes{{1999, 1000}, {2000 + x, 0}};
        QTest::newRow("the last sound plays out") << Sounds{{5000, 1000, 0, 0}} << 1000LL << 0LL << 5000LL << Probes{{4999, 1000}};
        QTest::newRow("gain") << Sounds{{1000, 1000, 0, 0, 0.5}, {1000, 1000, 0, 1000, 2.0}} << 2000LL << 0LL << 2000LL
                              << Probes{{0, 500}, {1000 + x, 2000}};
        QTest::newRow("full scale holds") << Sounds{{1000, 30000, 0, 0, 2.0}} << 1000LL << 0LL << 1000LL << Probes{{0, 32767}};
        QTest::newRow("a fourth up") << Sounds{{kRate / 2, 8000, 0, 0, 1, 5, 150}} << 0LL << 0LL << qint64(kRate / 2) << Probes{{-1, 200}};
    }

    void render()
    {
        QFETCH(Sounds, sounds);
        QFETCH(long long, end);
        QFETCH(long long, lead);
        QFETCH(long long, length);
        QFETCH(Probes, probes);
        TimelineRender r = renderOf(sounds, end);
        QCOMPARE(r.lead(), lead);
        QCOMPARE(r.length(), length);
        // Rendered in pieces of any size, the same samples.
        std::vector<qint16> whole(static_cast<size_t>(length)), pieces = whole;
        r.render(0, whole);
        for (size_t from = 0; from < pieces.size(); from += 777)
            r.render(qsizetype(from), std::span(pieces).subspan(from, std::min<size_t>(777, pieces.size() - from)));
        QVERIFY(whole == pieces);
        for (const auto &[at, wanted] : probes) {
            const double got = at < 0 ? medianPitch(whole, kRate) : whole[size_t(at)];
            QVERIFY2(std::abs(got - wanted) <= (at < 0 ? 6 : 1), qPrintable(QStringLiteral("%1 at %2").arg(got).arg(at)));
        }
    }

    // What the output reads is the rendering, sample for sample, however far
    // the renderer has got; after stop() nothing more.
    void ahead()
    {
        const Sounds sounds{{kRate * 8, 1000, 0, 0, 1, 0, 220}, {kRate * 4, 2000, 0, kRate * 6, 1, 0, 330}};
        std::vector<qint16> expected(size_t(kRate * 10)), heard;
        renderOf(sounds, kRate * 10).render(0, expected);
        RenderAhead ahead;
        ahead.start(std::make_unique<TimelineRender>(renderOf(sounds, kRate * 10)));
        qint16 block[441];
        for (qsizetype n = 0; ahead.playing(); heard.insert(heard.end(), block, block + n))
            if ((n = ahead.read(block, 441)) == 0)
                std::this_thread::yield();
        QVERIFY(heard == expected);
        ahead.start(std::make_unique<TimelineRender>(renderOf(sounds, kRate * 10)));
        QCOMPARE(ahead.read(block, 441), qsizetype(441));
        ahead.stop();
        QCOMPARE(ahead.read(block, 441), qsizetype(0));
        QVERIFY(!ahead.playing());
    }
};

KEL_TEST(test_playback, TestPlayback)
#include "test_playback.moc"

// Shaping a take on generated signals: where it is cut, how loud it comes
// out, and which takes are refused.
#include "voice/TakeShaper.h"
#include "voice/TakeWatch.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <functional>

using namespace kel;

namespace {

constexpr int kRate = 44100;
using Signal = std::function<std::vector<float>()>;

double amp(double db) { return std::pow(10.0, db / 20); }

// Pieces laid end to end: seconds of a 300 Hz tone at `db` (its onset
// rising from `fromDb` when given), or of white noise at `db`.
struct Piece {
    double seconds, db;
    bool noise = false;
    double fromDb = 0;
};

std::vector<float> build(std::initializer_list<Piece> pieces, double floorDb = -200)
{
    QRandomGenerator rng(7);
    std::vector<float> out;
    for (const Piece &p : pieces) {
        const size_t n = size_t(p.seconds * kRate);
        for (size_t i = 0; i < n; ++i) {
            const double t = double(i) / kRate;
            double a = amp(p.db);
            if (p.fromDb != 0)
                a = amp(p.fromDb + (p.db - p.fromDb) * std::min(1.0, t / 0.05));
            double s = p.noise ? a * std::sqrt(3.0) * (2 * rng.generateDouble() - 1)
                               : a * std::sqrt(2.0) * std::sin(2 * M_PI * 300 * t);
            s += amp(floorDb) * std::sqrt(3.0) * (2 * rng.generateDouble() - 1);
            out.push_back(float(std::clamp(s, -1.0, 1.0)));
        }
    }
    return out;
}

double rmsDb(const std::vector<float> &s, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double(s[i]) * s[i];
    return 20 * std::log10(std::sqrt(sum / double(to - from)));
}

} // namespace

Q_DECLARE_METATYPE(Signal)

class TestTakeShaper : public QObject {
    Q_OBJECT
private slots:
    void room_data()
    {
        QTest::addColumn<Signal>("signal");
        QTest::addColumn<bool>("noisy");
        QTest::newRow("quiet room") << Signal([] { return build({{1, -70, true}}); }) << false;
        QTest::newRow("a click in a quiet room") << Signal([] { return build({{0.45, -70, true}, {0.05, -6}, {0.5, -70, true}}); }) << false;
        QTest::newRow("fan hum") << Signal([] { return build({{1, -38, true}}); }) << true;
    }
    void room()
    {
        QFETCH(Signal, signal);
        QFETCH(bool, noisy);
        const RoomNoise r = measureRoom(signal(), kRate);
        QCOMPARE(r.noisy, noisy);
        QVERIFY(r.words.contains(noisy ? "大きい" : "静か"));
    }

    void shape_data()
    {
        QTest::addColumn<Signal>("signal");
        QTest::addColumn<double>("roomDb");
        QTest::addColumn<QString>("refusal"); // a word of the reason; empty: kept
        QTest::addColumn<double>("from");     // seconds of the raw take kept
        QTest::addColumn<double>("to");
        QTest::newRow("tone after silence")
            << Signal([] { return build({{0.5, -200}, {0.4, -30}, {0.5, -200}}, -75); }) << -75.0 << "" << 0.35 << 1.05;
        // Rising from -50 dB: the margin keeps the quiet onset.
        QTest::newRow("quiet onset")
            << Signal([] { return build({{0.5, -200}, {0.4, -24, false, -50}, {0.5, -200}}, -75); }) << -75.0 << "" << 0.35 << 1.05;
        // At -40 dB of room noise a fixed -55 dB threshold would keep it all.
        QTest::newRow("voice in a noisy room")
            << Signal([] { return build({{0.6, -200}, {0.3, -18}, {0.6, -200}}, -40); }) << -40.0 << "" << 0.45 << 1.05;
        QTest::newRow("loud voice is brought down")
            << Signal([] { return build({{0.3, -200}, {0.5, -8}, {0.3, -200}}, -75); }) << -75.0 << "" << 0.15 << 0.95;
        QTest::newRow("silence") << Signal([] { return build({{2, -200}}); }) << -75.0 << "聞こえ" << 0.0 << 0.0;
        QTest::newRow("dead microphone") << Signal([] { return std::vector<float>(); }) << -75.0 << "聞こえ" << 0.0 << 0.0;
        QTest::newRow("too faint")
            << Signal([] { return build({{0.5, -200}, {0.4, -50}, {0.5, -200}}, -80); }) << -80.0 << "小さすぎます" << 0.0 << 0.0;
        QTest::newRow("drowned in the room")
            << Signal([] { return build({{0.5, -200}, {0.4, -44}, {0.5, -200}}, -40); }) << -40.0 << "区別" << 0.0 << 0.0;
        QTest::newRow("clipped") << Signal([] { return build({{0.3, -200}, {0.4, 0}, {0.3, -200}}, -75); }) << -75.0 << "割れ" << 0.0 << 0.0;
        QTest::newRow("pure noise") << Signal([] { return build({{2, -25, true}}); }) << -75.0 << "雑音" << 0.0 << 0.0;
    }

    void shape()
    {
        QFETCH(Signal, signal);
        QFETCH(double, roomDb);
        QFETCH(QString, refusal);
        QFETCH(double, from);
        QFETCH(double, to);
        const ShapedTake take = shapeTake(signal(), kRate, roomDb);
        if (!refusal.isEmpty()) {
            QVERIFY2(!take.ok && take.reason.contains(refusal), qPrintable(take.reason));
            return;
        }
        QVERIFY2(take.ok, qPrintable(take.reason));
        QVERIFY2(std::abs(take.startSeconds - from) < 0.02 && std::abs(take.endSeconds - to) < 0.02,
                 qPrintable(QStringLiteral("kept %1-%2 s").arg(take.startSeconds).arg(take.endSeconds)));
        // The voiced middle at the target, and no peak above the ceiling.
        const size_t mid = take.samples.size() / 2;
        const double level = rmsDb(take.samples, mid - kRate / 20, mid + kRate / 20);
        float peak = 0;
        for (float s : take.samples)
            peak = std::max(peak, std::abs(s));
        QVERIFY2(std::abs(level - kTargetDb) < 1.0, qPrintable(QString::number(level)));
        QVERIFY(20 * std::log10(peak) <= kPeakCeilingDb + 0.01);
    }

    // Where a take fed in 10 ms pieces stops by itself.
    void autoStop_data()
    {
        QTest::addColumn<Signal>("signal");
        QTest::addColumn<double>("stopsAt");
        QTest::newRow("0.6 s after the voice")
            << Signal([] { return build({{0.5, -200}, {0.4, -25}, {3, -200}}, -75); }) << 1.5;
        QTest::newRow("a pause inside a word goes on")
            << Signal([] { return build({{0.3, -200}, {0.3, -25}, {0.4, -200}, {0.3, -25}, {3, -200}}, -75); }) << 1.9;
        QTest::newRow("nothing said: 5 s") << Signal([] { return build({{6, -200}}, -75); }) << 5.0;
        QTest::newRow("talking on: 5 s") << Signal([] { return build({{6, -25}}, -75); }) << 5.0;
    }
    void autoStop()
    {
        QFETCH(Signal, signal);
        QFETCH(double, stopsAt);
        const std::vector<float> s = signal();
        TakeWatch watch(kRate, -75);
        size_t fed = 0;
        while (fed < s.size() && !watch.feed(s.data() + fed, std::min<size_t>(441, s.size() - fed)))
            fed += 441;
        QVERIFY2(std::abs(double(watch.take().size()) / kRate - stopsAt) < 0.03,
                 qPrintable(QString::number(double(watch.take().size()) / kRate)));
    }
};

QTEST_GUILESS_MAIN(TestTakeShaper)
#include "test_take_shaper.moc"

// A take as the studio makes it, on generated signals: the room measured
// first (a click in it), the take fed in 10 ms pieces until it stops by
// itself, then cut and levelled, or refused with a reason.
#include "support/TestMain.h"
#include "voice/TakeShaper.h"
#include "voice/TakeWatch.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numeric>

using namespace kel;

namespace {

constexpr int kRate = 44100;

// Seconds of a 300 Hz tone at `db` (its onset rising from `fromDb` when
// given), or of white noise at `db`.
struct Piece {
    double seconds, db;
    bool noise = false;
    double fromDb = 0;
};
using Pieces = QList<Piece>;

// The pieces end to end, over the room's white noise at `roomDb`.
std::vector<float> build(const Pieces &pieces, double roomDb)
{
    QRandomGenerator rng(7);
    const auto white = [&](double db) { return std::pow(10.0, db / 20) * std::sqrt(3.0) * (2 * rng.generateDouble() - 1); };
    std::vector<float> out;
    for (const Piece &p : pieces)
        for (size_t i = 0; i < size_t(p.seconds * kRate); ++i) {
            const double t = double(i) / kRate;
            const double db = p.fromDb != 0 ? p.fromDb + (p.db - p.fromDb) * std::min(1.0, t / 0.05) : p.db;
            const double s = p.noise ? white(db) : std::pow(10.0, db / 20) * std::sqrt(2.0) * std::sin(2 * M_PI * 300 * t);
            out.push_back(float(std::clamp(s + white(roomDb), -1.0, 1.0)));
        }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Pieces)

class TestTakeShaper : public QObject {
    Q_OBJECT
private slots:
    void take_data()
    {
        QTest::addColumn<double>("roomDb");
        QTest::addColumn<QString>("room"); // words of how the studio names it
        QTest::addColumn<Pieces>("said");
        QTest::addColumn<double>("stopsAt");  // seconds recorded
        QTest::addColumn<QString>("refusal"); // a word of the reason; empty: kept
        QTest::addColumn<double>("from");     // seconds of the raw take kept
        QTest::addColumn<double>("to");
        const Piece quiet{0.5, -200}, tail{6, -200};
        QTest::newRow("stops 0.6 s after the voice") << -75.0 << "静かです" << Pieces{quiet, {0.4, -30}, tail} << 1.5 << "" << 0.35 << 1.05;
        // Rising from -50 dB: the margin keeps the quiet onset.
        QTest::newRow("quiet onset") << -75.0 << "静かです" << Pieces{quiet, {0.4, -24, false, -50}, tail} << 1.5 << "" << 0.35 << 1.05;
        // At -40 dB of room noise a fixed -55 dB threshold would keep it all.
        QTest::newRow("voice in a noisy room") << -40.0 << "大きい" << Pieces{{0.6, -200}, {0.3, -18}, tail} << 1.5 << "" << 0.45 << 1.05;
        QTest::newRow("loud voice is brought down") << -75.0 << "静かです" << Pieces{{0.3, -200}, {0.5, -8}, tail} << 1.4 << "" << 0.15 << 0.95;
        QTest::newRow("a pause inside a word goes on")
            << -75.0 << "静かです" << Pieces{{0.3, -200}, {0.8, -25}, {0.4, -200}, {0.2, -25}, tail} << 2.3 << "" << 0.15 << 1.85;
        QTest::newRow("nothing said: 5 s") << -75.0 << "静かです" << Pieces{tail} << 5.0 << "聞こえ" << 0.0 << 0.0;
        QTest::newRow("dead microphone") << -75.0 << "静かです" << Pieces{} << 0.0 << "聞こえ" << 0.0 << 0.0;
        QTest::newRow("too faint") << -80.0 << "静かです" << Pieces{quiet, {0.4, -50}, tail} << 1.5 << "小さすぎます" << 0.0 << 0.0;
        QTest::newRow("drowned in the room") << -40.0 << "大きい" << Pieces{quiet, {0.4, -44}, tail} << 5.0 << "区別" << 0.0 << 0.0;
        QTest::newRow("clipped") << -75.0 << "静かです" << Pieces{{0.3, -200}, {0.4, 0}, tail} << 1.3 << "割れ" << 0.0 << 0.0;
        QTest::newRow("steady noise: 5 s") << -75.0 << "静かです" << Pieces{{6, -25, true}} << 5.0 << "雑音" << 0.0 << 0.0;
    }

    void take()
    {
        QFETCH(double, roomDb);
        QFETCH(QString, room);
        QFETCH(Pieces, said);
        QFETCH(double, stopsAt);
        QFETCH(QString, refusal);
        QFETCH(double, from);
        QFETCH(double, to);
        const RoomNoise measured = measureRoom(build({{0.45, -200}, {0.05, -6}, {0.5, -200}}, roomDb), kRate);
        // Said in words a caregiver can act on, without figures.
        QVERIFY2(measured.words.contains(room) && !measured.words.contains(QRegularExpression("[0-9０-９]|dB")),
                 qPrintable(measured.words));
        const std::vector<float> s = build(said, roomDb);
        TakeWatch watch(kRate, measured.rmsDb);
        for (size_t fed = 0; fed < s.size() && !watch.feed(s.data() + fed, std::min<size_t>(441, s.size() - fed)); fed += 441) {
        }
        const double recorded = double(watch.take().size()) / kRate;
        QVERIFY2(std::abs(recorded - stopsAt) < 0.03, qPrintable(QString::number(recorded)));

        const ShapedTake take = shapeTake(watch.take(), kRate, measured.rmsDb);
        QVERIFY2(take.ok == refusal.isEmpty() && take.reason.contains(refusal), qPrintable(take.reason));
        if (!take.ok)
            return;
        QVERIFY2(std::abs(take.startSeconds - from) < 0.02 && std::abs(take.endSeconds - to) < 0.02,
                 qPrintable(QStringLiteral("kept %1-%2 s").arg(take.startSeconds).arg(take.endSeconds)));
        // The voiced middle at the target, and no peak above the ceiling.
        const auto mid = take.samples.begin() + long(take.samples.size() / 2);
        const double level = 10 * std::log10(std::inner_product(mid - kRate / 20, mid + kRate / 20, mid - kRate / 20, 0.0) / (kRate / 10));
        QVERIFY2(std::abs(level - kTargetDb) < 1.0, qPrintable(QString::number(level)));
        const float peak = std::abs(std::ranges::max(take.samples, {}, [](float v) { return std::abs(v); }));
        QVERIFY(20 * std::log10(peak) <= kPeakCeilingDb + 0.01);
    }
};

KEL_TEST(test_take_shaper, TestTakeShaper)
#include "test_take_shaper.moc"

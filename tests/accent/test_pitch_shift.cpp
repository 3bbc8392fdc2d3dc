// A mora said a few semitones higher or lower: its length unchanged, its
// pitch moved by the ratio asked for, its spectral envelope (the formants:
// which vowel it is) where it was; a take with no pitch kept as it is.
#include "support/TestMain.h"
#include "accent/PitchShift.h"

#include <cmath>
#include <numbers>
#include <random>

using namespace kel;

namespace {

constexpr int kRate = 16000;

// An "あ": pulses at `pitch` through three formant resonators.
std::vector<std::int16_t> vowel(double pitch)
{
    std::vector<double> s(std::size_t(kRate * 0.3), 0);
    for (double t = 0; t < double(s.size()); t += kRate / pitch)
        s[std::size_t(t)] = 1;
    for (auto [formant, bandwidth] : {std::pair{750.0, 90.0}, {1200.0, 110.0}, {2600.0, 160.0}}) {
        const double r = std::exp(-std::numbers::pi * bandwidth / kRate), c = 2 * r * std::cos(2 * std::numbers::pi * formant / kRate);
        for (std::size_t i = 2; i < s.size(); ++i)
            s[i] += c * s[i - 1] - r * r * s[i - 2];
    }
    const double peak = *std::max_element(s.begin(), s.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
    std::vector<std::int16_t> out;
    for (double v : s)
        out.push_back(std::int16_t(std::lround(12000 * v / std::abs(peak))));
    return out;
}

// How a period begins: the autocorrelation of the middle of the take at
// lags under 1 ms, over its value at lag 0. It is the spectral envelope (the
// formants) seen in time; a voice's period, 2 ms at the least, lies beyond.
std::vector<double> shortLags(const std::vector<std::int16_t> &x)
{
    std::vector<double> r(15, 0);
    for (std::size_t lag = 0; lag < r.size(); ++lag)
        for (std::size_t i = x.size() / 4; i + lag < 3 * x.size() / 4; ++i)
            r[lag] += double(x[i]) * x[i + lag];
    const double atZero = r[0];
    for (double &v : r)
        v /= atZero;
    return r;
}

// The RMS difference of the two takes' short lags.
double envelopeDistance(const std::vector<std::int16_t> &a, const std::vector<std::int16_t> &b)
{
    const std::vector<double> ra = shortLags(a), rb = shortLags(b);
    double sum = 0;
    for (std::size_t lag = 1; lag < ra.size(); ++lag)
        sum += (ra[lag] - rb[lag]) * (ra[lag] - rb[lag]);
    return std::sqrt(sum / double(ra.size() - 1));
}

// Measured on these vowels: the shifter moves the short lags by 0.01 to
// 0.08; playing faster or slower by the same steps, by 0.16 to 0.36.
constexpr double kEnvelopeTolerance = 0.12;

} // namespace

class TestPitchShift : public QObject {
    Q_OBJECT
private slots:
    void shifted_data()
    {
        QTest::addColumn<QString>("take"); // a vowel at `pitch`, or one with no pitch to move
        QTest::addColumn<double>("pitch");
        QTest::addColumn<double>("semitones");
        QTest::newRow("a low voice up a minor third") << "vowel" << 120.0 << 3.0;
        QTest::newRow("a low voice down a minor third") << "vowel" << 120.0 << -3.0;
        QTest::newRow("a high voice up a fourth") << "vowel" << 220.0 << 5.0;
        QTest::newRow("a high voice down a tone") << "vowel" << 220.0 << -2.0;
        QTest::newRow("hiss: kept as it is") << "hiss" << 0.0 << 3.0;
        QTest::newRow("silence: kept as it is") << "silence" << 0.0 << 3.0;
        QTest::newRow("too short to measure: kept as it is") << "short" << 150.0 << 3.0;
    }

    void shifted()
    {
        QFETCH(QString, take);
        QFETCH(double, pitch);
        QFETCH(double, semitones);
        std::vector<std::int16_t> in = pitch > 0 ? vowel(pitch) : std::vector<std::int16_t>(kRate / 4, 0);
        if (take == u"hiss") {
            std::mt19937 random(7);
            std::uniform_int_distribution<int> noise(-8000, 8000);
            for (std::int16_t &s : in)
                s = std::int16_t(noise(random));
        }
        if (take == u"short")
            in.resize(200);
        const PitchShifted out = shiftPitch(in, kRate, semitones);
        QCOMPARE(out.shifted, take == u"vowel");
        if (!out.shifted) {
            QVERIFY(out.samples == in);
            return;
        }
        QCOMPARE(out.samples.size(), in.size());
        const double wanted = pitch * std::pow(2.0, semitones / 12);
        QVERIFY2(std::abs(medianPitch(out.samples, kRate) / wanted - 1) < 0.03,
                 qPrintable(QString::number(medianPitch(out.samples, kRate))));
        const double moved = envelopeDistance(in, out.samples);
        QVERIFY2(moved < kEnvelopeTolerance, qPrintable(QString::number(moved)));
    }
};

KEL_TEST(test_pitch_shift, TestPitchShift)
#include "test_pitch_shift.moc"

#include "accent/PitchShift.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kel {
namespace {

// The voice's pitch lies between these; a frame is voiced when it repeats
// itself this closely after one period, and is no quieter than this.
constexpr double kLowestPitch = 60, kHighestPitch = 500;
constexpr double kVoicedCorrelation = 0.6;
constexpr double kQuietest = 200; // RMS in 16-bit units
// Of a frame's correlation peaks, the shortest period within this share of
// the best is taken, so that a period is not taken for two.
constexpr double kOctaveMargin = 0.9;
// A take with fewer voiced frames than this keeps its one height.
constexpr int kFewestVoicedFrames = 3;

struct Frames {
    int hop = 0;
    std::vector<int> period; // in samples, 0 where unvoiced
};

double correlation(std::span<const std::int16_t> x, std::size_t from, std::size_t length, int lag)
{
    double xy = 0, xx = 0, yy = 0;
    for (std::size_t i = from; i + std::size_t(lag) < from + length; ++i) {
        const double a = x[i], b = x[i + std::size_t(lag)];
        xy += a * b, xx += a * a, yy += b * b;
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
}

// The pitch period of each frame of 10 ms.
Frames findPeriods(std::span<const std::int16_t> x, int sampleRate)
{
    const int minLag = int(sampleRate / kHighestPitch), maxLag = int(sampleRate / kLowestPitch);
    const std::size_t length = std::size_t(2 * maxLag);
    Frames f;
    f.hop = sampleRate / 100;
    for (std::size_t start = 0; start + length <= x.size(); start += std::size_t(f.hop)) {
        double energy = 0;
        for (std::size_t i = start; i < start + length; ++i)
            energy += double(x[i]) * x[i];
        int period = 0;
        if (std::sqrt(energy / double(length)) >= kQuietest) {
            std::vector<double> r(std::size_t(maxLag + 1), 0);
            double best = 0;
            for (int lag = minLag; lag <= maxLag; ++lag)
                best = std::max(best, r[std::size_t(lag)] = correlation(x, start, length, lag));
            for (int lag = minLag + 1; best >= kVoicedCorrelation && lag < maxLag && !period; ++lag)
                if (r[std::size_t(lag)] >= kOctaveMargin * best && r[std::size_t(lag)] >= r[std::size_t(lag - 1)]
                    && r[std::size_t(lag)] >= r[std::size_t(lag + 1)])
                    period = lag;
        }
        f.period.push_back(period);
    }
    return f;
}

struct Mark {
    std::size_t at;
    int period;
    bool voiced;
};

// The period of the frame `at` lies in (the last frame's past the end).
int periodAt(const Frames &f, std::size_t at)
{
    return f.period.empty() ? 0 : f.period[std::min(at / std::size_t(f.hop), f.period.size() - 1)];
}

// One mark a pitch period where the take is voiced, on the period's peak,
// and one every 10 ms where it is not.
std::vector<Mark> pitchMarks(std::span<const std::int16_t> x, const Frames &f)
{
    std::vector<Mark> marks;
    std::size_t at = 0;
    bool inVoice = false;
    while (at < x.size()) {
        const int period = periodAt(f, at);
        if (period == 0) {
            marks.push_back({at, f.hop, false});
            at += std::size_t(f.hop);
            inVoice = false;
            continue;
        }
        // The peak within a period from here, or within a fifth of a period
        // of where the next one is due.
        const std::size_t reach = inVoice ? std::size_t(period / 5) : 0;
        const std::size_t from = at > reach ? at - reach : 0;
        const std::size_t to = std::min(x.size(), inVoice ? at + reach + 1 : at + std::size_t(period));
        const std::size_t peak = std::size_t(std::max_element(x.begin() + std::ptrdiff_t(from), x.begin() + std::ptrdiff_t(to))
                                             - x.begin());
        if (!marks.empty() && peak <= marks.back().at) {
            at = marks.back().at + std::size_t(period);
            continue;
        }
        marks.push_back({peak, period, true});
        at = peak + std::size_t(period);
        inVoice = true;
    }
    return marks;
}

} // namespace

double medianPitch(std::span<const std::int16_t> samples, int sampleRate)
{
    std::vector<double> pitches;
    for (int period : findPeriods(samples, sampleRate).period)
        if (period > 0)
            pitches.push_back(double(sampleRate) / period);
    if (pitches.empty())
        return 0;
    std::nth_element(pitches.begin(), pitches.begin() + std::ptrdiff_t(pitches.size() / 2), pitches.end());
    return pitches[pitches.size() / 2];
}

PitchShifted shiftPitch(std::span<const std::int16_t> samples, int sampleRate, double semitones)
{
    PitchShifted out{std::vector<std::int16_t>(samples.begin(), samples.end()), false};
    const Frames frames = findPeriods(samples, sampleRate);
    if (std::count_if(frames.period.begin(), frames.period.end(), [](int p) { return p > 0; }) < kFewestVoicedFrames)
        return out;
    const std::vector<Mark> marks = pitchMarks(samples, frames);
    const double ratio = std::pow(2.0, semitones / 12);
    const std::size_t n = samples.size();
    std::vector<double> sum(n, 0), weight(n, 0);
    // Each new mark takes the period of the nearest old one, windowed two
    // periods wide: voiced periods come `ratio` times as often, the rest
    // as they were. The windows' sum divides the result, so the level holds.
    std::size_t k = 0;
    for (double t = double(marks.front().at); t < double(n);) {
        while (k + 1 < marks.size() && std::abs(double(marks[k + 1].at) - t) <= std::abs(double(marks[k].at) - t))
            ++k;
        const Mark &m = marks[k];
        const std::ptrdiff_t centre = std::ptrdiff_t(std::llround(t));
        for (int j = -m.period; j < m.period; ++j) {
            const std::ptrdiff_t from = std::ptrdiff_t(m.at) + j, to = centre + j;
            if (from < 0 || to < 0 || from >= std::ptrdiff_t(n) || to >= std::ptrdiff_t(n))
                continue;
            const double w = 0.5 * (1 + std::cos(std::numbers::pi * j / m.period));
            sum[std::size_t(to)] += w * samples[std::size_t(from)];
            weight[std::size_t(to)] += w;
        }
        t += m.voiced ? m.period / ratio : m.period;
    }
    for (std::size_t i = 0; i < n; ++i)
        out.samples[i] = std::int16_t(std::clamp(std::lround(weight[i] > 1e-6 ? sum[i] / weight[i] : 0.0), -32768L, 32767L));
    out.shifted = true;
    return out;
}

} // namespace kel

#include "speech/VowelOnset.h"

#include <algorithm>
#include <cmath>

namespace kel {
namespace {

// Analysed at about 11 kHz: enough for a voice's pitch, a sixteenth of the
// work of 44.1 kHz.
constexpr int kAnalysisRate = 11025;
constexpr double kWindowSeconds = 0.025; // two periods of an 80 Hz voice
constexpr double kHopSeconds = 0.005;
constexpr double kLowestPitch = 80, kHighestPitch = 500;
// A frame is voiced when it repeats itself this closely after one period,
// crosses zero seldom (hiss crosses it at every other sample), and is
// louder than a quiet room.
constexpr double kVoicedCorrelation = 0.6;
constexpr double kMostCrossings = 0.25; // per sample
constexpr double kSilence = 0.003;      // RMS, about -50 dBFS
// The vowel: voiced and within 6 dB of the loudest voiced frame, where a
// listener hears the syllable begin. The murmur of "m" or "n" and the voice
// bar before "b" or "d" are voiced too, and in recorded speech only 8 to
// 12 dB below the vowel: a looser bound takes them for it, and their vowel
// is then heard 20 to 40 ms after its beat. Without a voiced frame, or with
// voiced frames 20 dB below the loudest only (a breath of hum under a
// whispered "す"), the first within 6 dB of the loudest.
constexpr double kVowelBelowPeak = 0.5, kLoudBelowPeak = 0.5, kFaintVoiceBelowPeak = 0.1;
// Only the start of a sound is looked at: no consonant is this long.
constexpr double kLongestAnalysisSeconds = 1.5;

// Trimming: 5 ms blocks, audible within 35 dB of the loudest.
constexpr double kBlockSeconds = 0.005;
constexpr double kAudibleBelowPeak = 0.0178;
constexpr double kKeptBeforeSeconds = 0.005, kKeptAfterSeconds = 0.010;

struct Frame {
    double rms = 0;
    bool voiced = false;
};

double correlation(const std::vector<float> &x, size_t from, size_t length, size_t lag)
{
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = from; i + lag < from + length; ++i) {
        const double a = x[i], b = x[i + lag];
        xy += a * b, xx += a * a, yy += b * b;
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0;
}

Frame analyse(const std::vector<float> &x, size_t from, size_t length, int rate)
{
    Frame f;
    double energy = 0;
    int crossings = 0;
    for (size_t i = from; i < from + length; ++i) {
        energy += double(x[i]) * x[i];
        crossings += i > from && (x[i] < 0) != (x[i - 1] < 0);
    }
    f.rms = std::sqrt(energy / double(length));
    if (f.rms < kSilence || crossings > kMostCrossings * double(length))
        return f;
    double best = 0;
    for (size_t lag = size_t(rate / kHighestPitch); lag <= size_t(rate / kLowestPitch); ++lag)
        best = std::max(best, correlation(x, from, length, lag));
    f.voiced = best >= kVoicedCorrelation;
    return f;
}

} // namespace

qsizetype vowelOnset(std::span<const float> mono, int rate)
{
    if (rate <= 0)
        return 0;
    // Averaged down to the analysis rate (the average is the low-pass).
    const int step = std::max(1, rate / kAnalysisRate);
    const int analysisRate = rate / step;
    const size_t n = std::min(mono.size(), size_t(kLongestAnalysisSeconds * rate)) / size_t(step);
    std::vector<float> x(n);
    for (size_t i = 0; i < n; ++i) {
        float sum = 0;
        for (int k = 0; k < step; ++k)
            sum += mono[i * size_t(step) + size_t(k)];
        x[i] = sum / float(step);
    }
    const size_t window = size_t(kWindowSeconds * analysisRate), hop = size_t(kHopSeconds * analysisRate);
    std::vector<Frame> frames;
    for (size_t from = 0; from + window <= n; from += hop)
        frames.push_back(analyse(x, from, window, analysisRate));
    double voicedPeak = 0, peak = 0;
    for (const Frame &f : frames) {
        peak = std::max(peak, f.rms);
        if (f.voiced)
            voicedPeak = std::max(voicedPeak, f.rms);
    }
    if (peak < kSilence)
        return 0;
    if (voicedPeak < kFaintVoiceBelowPeak * peak)
        voicedPeak = 0;
    const auto onset = std::find_if(frames.begin(), frames.end(), [&](const Frame &f) {
        return voicedPeak > 0 ? f.voiced && f.rms >= kVowelBelowPeak * voicedPeak : f.rms >= kLoudBelowPeak * peak;
    });
    const size_t frame = size_t(onset - frames.begin());
    // A window's middle: where half of it is vowel. The first window
    // starts with the sound.
    return frame == 0 ? 0 : qsizetype((frame * hop + window / 2) * size_t(step));
}

qsizetype vowelOnset(std::span<const qint16> mono, int rate)
{
    std::vector<float> x(std::min(mono.size(), size_t(kLongestAnalysisSeconds * std::max(rate, 0))));
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = mono[i] / 32768.0f;
    return vowelOnset(std::span<const float>(x), rate);
}

std::vector<float> trimmedToVoice(const std::vector<float> &mono, int rate)
{
    const size_t block = std::max<size_t>(1, size_t(kBlockSeconds * rate));
    std::vector<double> levels;
    for (size_t from = 0; from < mono.size(); from += block) {
        const size_t to = std::min(mono.size(), from + block);
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += double(mono[i]) * mono[i];
        levels.push_back(std::sqrt(sum / double(to - from)));
    }
    const double peak = levels.empty() ? 0 : *std::max_element(levels.begin(), levels.end());
    if (peak <= 0)
        return mono;
    const auto audible = [&](double l) { return l >= kAudibleBelowPeak * peak; };
    const size_t first = size_t(std::find_if(levels.begin(), levels.end(), audible) - levels.begin());
    const size_t last = levels.size() - 1 - size_t(std::find_if(levels.rbegin(), levels.rend(), audible) - levels.rbegin());
    const size_t onset = size_t(vowelOnset(std::span<const float>(mono), rate));
    const size_t longestLead = size_t(kLongestLeadSeconds * rate), before = size_t(kKeptBeforeSeconds * rate);
    size_t from = first * block > before ? first * block - before : 0;
    from = std::max(from, onset > longestLead ? onset - longestLead : 0);
    const size_t to = std::min(mono.size(), (last + 1) * block + size_t(kKeptAfterSeconds * rate));
    std::vector<float> kept(mono.begin() + long(from), mono.begin() + long(std::max(from, to)));
    const size_t fadeIn = from > 0 ? std::min(kept.size() / 2, before) : 0;
    const size_t fadeOut = to < mono.size() ? std::min(kept.size() / 2, size_t(kKeptAfterSeconds * rate)) : 0;
    for (size_t i = 0; i < fadeIn; ++i)
        kept[i] *= float(i) / float(fadeIn);
    for (size_t i = 0; i < fadeOut; ++i)
        kept[kept.size() - 1 - i] *= float(i) / float(fadeOut);
    return kept;
}

} // namespace kel

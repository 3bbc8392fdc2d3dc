#include "voice/TakeShaper.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kel {
namespace {

constexpr double kBlockSeconds = 0.010;
constexpr double kNoisyRoomDb = -45;
constexpr double kAboveRoomDb = 12;
constexpr double kQuietFloorDb = -55;
constexpr double kSilentPeakDb = -60;
constexpr double kFaintVoiceDb = -42;
constexpr float kClipLevel = 0.995f;
constexpr int kClipRun = 3;            // samples in a row at full scale
constexpr double kSteadyNoiseDb = 2.5; // spread of block levels of plain noise
constexpr double kFadeSeconds = 0.005;

double toDb(double amplitude) { return amplitude > 1e-6 ? 20 * std::log10(amplitude) : -120; }
double fromDb(double db) { return std::pow(10.0, db / 20); }

// RMS of each block, in dB.
std::vector<double> blockLevels(const std::vector<float> &mono, int rate)
{
    const size_t block = std::max<size_t>(1, size_t(rate * kBlockSeconds));
    std::vector<double> levels;
    levels.reserve(mono.size() / block + 1);
    for (size_t from = 0; from < mono.size(); from += block) {
        const size_t to = std::min(mono.size(), from + block);
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += double(mono[i]) * mono[i];
        levels.push_back(toDb(std::sqrt(sum / double(to - from))));
    }
    return levels;
}

bool clipped(const std::vector<float> &mono)
{
    int run = 0;
    for (float s : mono) {
        run = std::abs(s) >= kClipLevel ? run + 1 : 0;
        if (run >= kClipRun)
            return true;
    }
    return false;
}

} // namespace

RoomNoise measureRoom(const std::vector<float> &mono, int rate)
{
    RoomNoise room;
    std::vector<double> levels = blockLevels(mono, rate);
    if (levels.empty())
        return room;
    // The median block: a cough or a click does not make a room noisy.
    std::nth_element(levels.begin(), levels.begin() + long(levels.size() / 2), levels.end());
    room.rmsDb = levels[levels.size() / 2];
    room.noisy = room.rmsDb > kNoisyRoomDb;
    // Figures a caregiver cannot judge stay out: the words say what to do.
    room.words = room.noisy
        ? QStringLiteral("部屋の音が大きいです。窓や戸を閉め、音の出る物を止めてから録音してください。")
        : QStringLiteral("部屋は静かです。このまま録音できます。");
    return room;
}

double voiceThresholdDb(double roomDb)
{
    return std::max(roomDb + kAboveRoomDb, kQuietFloorDb);
}

ShapedTake shapeTake(const std::vector<float> &mono, int rate, double roomDb)
{
    ShapedTake take;
    float peak = 0;
    for (float s : mono)
        peak = std::max(peak, std::abs(s));
    if (mono.empty() || toDb(peak) < kSilentPeakDb) {
        take.reason = QStringLiteral("声が聞こえませんでした。マイクを確かめてください。");
        return take;
    }
    if (clipped(mono)) {
        take.reason = QStringLiteral("音が大きすぎて割れています。マイクから少し離れてください。");
        return take;
    }
    const std::vector<double> levels = blockLevels(mono, rate);
    const double threshold = voiceThresholdDb(roomDb);
    qsizetype first = -1, last = -1;
    double voicedPower = 0;
    int voiced = 0;
    for (qsizetype b = 0; b < qsizetype(levels.size()); ++b) {
        if (levels[size_t(b)] < threshold)
            continue;
        if (first < 0)
            first = b;
        last = b;
        voicedPower += fromDb(2 * levels[size_t(b)]);
        ++voiced;
    }
    if (voiced == 0) {
        take.reason = QStringLiteral("声が小さすぎて、部屋の音と区別できません。");
        return take;
    }
    const double voiceDb = toDb(std::sqrt(voicedPower / voiced));
    if (voiceDb < kFaintVoiceDb) {
        take.reason = QStringLiteral("声が小さすぎます。もう少し大きな声でお願いします。");
        return take;
    }
    // Steady noise fills the whole take at one level; a voice rises and falls.
    if (voiced * 10 >= qsizetype(levels.size()) * 9) {
        double mean = 0, spread = 0;
        for (double l : levels) mean += l;
        mean /= double(levels.size());
        for (double l : levels) spread += (l - mean) * (l - mean);
        if (std::sqrt(spread / double(levels.size())) < kSteadyNoiseDb) {
            take.reason = QStringLiteral("雑音だけで、声が見つかりませんでした。");
            return take;
        }
    }

    const size_t block = std::max<size_t>(1, size_t(rate * kBlockSeconds));
    const size_t margin = size_t(kMarginSeconds * rate);
    const size_t from = size_t(first) * block > margin ? size_t(first) * block - margin : 0;
    const size_t to = std::min(mono.size(), size_t(last + 1) * block + margin);
    take.startSeconds = double(from) / rate;
    take.endSeconds = double(to) / rate;

    float keptPeak = 0;
    for (size_t i = from; i < to; ++i)
        keptPeak = std::max(keptPeak, std::abs(mono[i]));
    take.gainDb = std::min(kTargetDb - voiceDb, kPeakCeilingDb - toDb(keptPeak));
    const float gain = float(fromDb(take.gainDb));
    take.samples.assign(mono.begin() + long(from), mono.begin() + long(to));
    // A short fade at each cut, so that the sound starts and ends without a click.
    const size_t fade = std::min(take.samples.size() / 2, size_t(kFadeSeconds * rate));
    for (size_t i = 0; i < take.samples.size(); ++i) {
        float g = gain;
        if (i < fade)
            g *= float(i) / float(fade);
        else if (take.samples.size() - 1 - i < fade)
            g *= float(take.samples.size() - 1 - i) / float(fade);
        take.samples[i] *= g;
    }
    take.ok = true;
    return take;
}

} // namespace kel

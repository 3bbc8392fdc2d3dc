#include "speech/MoraHeights.h"

#include "accent/PitchShift.h"
#include "speech/WavCodec.h"

#include <algorithm>
#include <cmath>

namespace kel {
namespace {

constexpr QLatin1StringView kHigh(".high"), kLow(".low"), kWav(".wav");

std::vector<std::int16_t> toPcm(const std::vector<float> &mono)
{
    std::vector<std::int16_t> out(mono.size());
    std::transform(mono.begin(), mono.end(), out.begin(),
                   [](float v) { return std::int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)); });
    return out;
}

QByteArray toWav(const std::vector<std::int16_t> &pcm, int rate)
{
    std::vector<float> mono(pcm.size());
    std::transform(pcm.begin(), pcm.end(), mono.begin(), [](std::int16_t v) { return float(v) / 32767.0f; });
    return encodeWav16(mono, rate);
}

} // namespace

QString heightPath(const QString &soundPath, bool high)
{
    if (!soundPath.endsWith(kWav))
        return {};
    return soundPath.chopped(kWav.size()) + (high ? kHigh : kLow) + kWav;
}

QString heightOf(const QString &name)
{
    for (QLatin1StringView suffix : {kHigh, kLow})
        if (name.size() > suffix.size() && name.endsWith(suffix))
            return name.chopped(suffix.size());
    return {};
}

HeightSound soundAtHeight(const QString &found, int step, const std::function<bool(const QString &path)> &isFile)
{
    const QString bare = found.endsWith(kWav) ? found.chopped(kWav.size()) : found;
    const QString recording = heightOf(bare).isEmpty() ? found : heightOf(bare) + kWav;
    struct Candidate {
        QString path;
        int step;
    };
    // Nearest to the step wanted first; at the same distance the recording,
    // then the high one.
    std::vector<Candidate> candidates{{recording, 0}, {heightPath(recording, true), 1}, {heightPath(recording, false), -1}};
    std::stable_sort(candidates.begin(), candidates.end(),
                     [step](const Candidate &a, const Candidate &b) { return std::abs(a.step - step) < std::abs(b.step - step); });
    for (const Candidate &c : candidates)
        if (c.path == found || (!c.path.isEmpty() && isFile(c.path)))
            return {c.path, (step - c.step) * kHeightSemitones};
    return {found, 0};
}

std::optional<MadeHeights> makeHeights(QByteArrayView wav, QString *why)
{
    const std::optional<Audio> audio = decodeWav(wav, why);
    if (!audio)
        return std::nullopt;
    const std::vector<std::int16_t> pcm = toPcm(toMono(*audio));
    const PitchShifted high = shiftPitch(pcm, audio->rate, kHeightSemitones);
    if (!high.shifted) {
        if (why)
            *why = QStringLiteral("no pitch found");
        return std::nullopt;
    }
    const PitchShifted low = shiftPitch(pcm, audio->rate, -kHeightSemitones);
    return MadeHeights{toWav(high.samples, audio->rate), toWav(low.samples, audio->rate)};
}

} // namespace kel

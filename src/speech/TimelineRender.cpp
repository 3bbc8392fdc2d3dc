#include "speech/TimelineRender.h"

#include "accent/PitchShift.h"
#include "speech/WavCodec.h"

#include <algorithm>
#include <limits>

namespace kel {

TimelineRender::TimelineRender(std::vector<PlacedSound> sounds, long long endFrame) : sounds_(std::move(sounds))
{
    std::stable_sort(sounds_.begin(), sounds_.end(), [](const PlacedSound &a, const PlacedSound &b) { return a.frame < b.frame; });
    for (const PlacedSound &s : sounds_)
        if (s.samples)
            lead_ = std::max<long long>(lead_, s.onset - s.frame);
    length_ = lead_ + std::max<long long>(endFrame, 0);
    for (size_t i = 0; i < sounds_.size(); ++i) {
        const PlacedSound &s = sounds_[i];
        if (!s.samples || s.samples->empty())
            continue;
        Placed p;
        p.sound = i;
        p.start = lead_ + s.frame - std::clamp<long long>(s.onset, 0, qsizetype(s.samples->size()));
        // Whole until the next beat, and never before its own vowel.
        p.fadeFrom = i + 1 < sounds_.size() ? lead_ + std::max(sounds_[i + 1].frame, s.frame)
                                            : std::numeric_limits<long long>::max() / 2;
        p.end = std::min(p.start + qsizetype(s.samples->size()), p.fadeFrom + kCrossFadeFrames);
        length_ = std::max(length_, p.end);
        longest_ = std::max(longest_, p.end - p.start);
        placed_.push_back(p);
    }
    std::stable_sort(placed_.begin(), placed_.end(), [](const Placed &a, const Placed &b) { return a.start < b.start; });
}

const std::vector<qint16> *TimelineRender::shaped(const PlacedSound &s)
{
    if (s.semitones == 0)
        return s.samples.get();
    auto it = shifted_.find({s.samples.get(), s.semitones});
    if (it == shifted_.end())
        it = shifted_.emplace(std::pair<const void *, double>(s.samples.get(), s.semitones),
                              shiftPitch(*s.samples, kPlaybackRate, s.semitones).samples).first;
    return &it->second;
}

void TimelineRender::render(long long from, std::span<qint16> out)
{
    const long long to = from + qsizetype(out.size());
    std::vector<float> mix(out.size(), 0.0f);
    auto p = std::lower_bound(placed_.begin(), placed_.end(), from - longest_,
                              [](const Placed &a, long long at) { return a.start < at; });
    for (; p != placed_.end() && p->start < to; ++p) {
        if (p->end <= from)
            continue;
        const PlacedSound &s = sounds_[p->sound];
        if (!p->shaped)
            p->shaped = shaped(s);
        const std::vector<qint16> &samples = *p->shaped;
        for (long long at = std::max(from, p->start); at < std::min(to, p->end); ++at) {
            const double fade = at < p->fadeFrom ? 1.0 : double(p->fadeFrom + kCrossFadeFrames - at) / kCrossFadeFrames;
            mix[size_t(at - from)] += float(samples[size_t(at - p->start)] * s.gain * fade);
        }
    }
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = qint16(std::clamp(std::lround(mix[i]), -32768L, 32767L));
}

} // namespace kel

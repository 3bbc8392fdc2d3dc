#pragma once
// A spoken timeline rendered into samples: each sound placed by the start
// of its vowel on its beat, so that its consonant leads in before the beat,
// and kept whole until the next beat, where it fades out under the next
// vowel. A sound is therefore never cut before its vowel has sounded, and
// sounds that overlap are mixed, not cut.
//
//   "か" (onset 30 ms) on beat 0, "さ" (onset 60 ms) on beat 1 at 8 a second:
//   か from -30 ms, さ from 65 ms, か fading from 125 ms to 145 ms;
//   the whole rendering starts 30 ms early (lead()).
//
// Pure: the cues and their decoded samples in, PCM out, no audio device.
// A sound's height is changed here, before it is played, never while it
// plays.

#include "speech/SoundBank.h"

#include <QtGlobal>

#include <map>
#include <span>
#include <utility>
#include <vector>

namespace kel {

// One sound of the timeline, decoded.
struct PlacedSound {
    SoundBank::Samples samples; // null: silence, which ends the sound before it
    qsizetype onset = 0;        // the sample its vowel begins at
    long long frame = 0;        // the beat its vowel falls on
    double gain = 1.0;
    double semitones = 0.0;
};

// How long a sound that outlasts its beat takes to fade under the next
// vowel: long enough to be heard as speech running on, not as a cut.
inline constexpr long long kCrossFadeFrames = 44100 * 20 / 1000;

class TimelineRender {
public:
    // `endFrame`: the timeline's last beat ends there; the last sound
    // plays out past it.
    TimelineRender(std::vector<PlacedSound> sounds, long long endFrame);

    // Frames the first consonant leads in before beat 0: frame f of the
    // timeline is frame f + lead() of the rendering.
    long long lead() const { return lead_; }
    // Frames of the whole rendering.
    long long length() const { return length_; }

    // Frames [from, from + out.size()) of the rendering; past length() silence.
    void render(long long from, std::span<qint16> out);

private:
    struct Placed {
        size_t sound = 0;                           // in sounds_
        const std::vector<qint16> *shaped = nullptr; // once first needed
        long long start = 0, fadeFrom = 0, end = 0; // in frames of the rendering
    };
    // The sound as it is to be played: shifted in pitch, once per height.
    const std::vector<qint16> *shaped(const PlacedSound &s);

    std::vector<PlacedSound> sounds_;
    std::vector<Placed> placed_; // by start
    long long lead_ = 0, length_ = 0, longest_ = 0;
    std::map<std::pair<const void *, double>, std::vector<qint16>> shifted_;
};

} // namespace kel

#pragma once
// A recorded mora raised or lowered in pitch with its formants kept, so that
// the same take can be said high or low in an accent phrase: the pitch
// periods are found, cut out with a window two periods wide, and laid down
// again closer together (higher) or further apart (lower); the length stays
// the same and each period keeps the shape the mouth gave it.
//
//   shiftPitch(take, 16000, +3)  -> the take a minor third higher, as long
//   shiftPitch(noise, 16000, +3) -> the noise unchanged, shifted = false

#include <cstdint>
#include <span>
#include <vector>

namespace kel {

struct PitchShifted {
    std::vector<std::int16_t> samples; // as many as were given
    bool shifted = false;              // false: no pitch found (silence, noise, too short), samples as given
};

// 16-bit mono PCM at `sampleRate`, its pitch moved by `semitones`.
PitchShifted shiftPitch(std::span<const std::int16_t> samples, int sampleRate, double semitones);

// The pitch of the voiced part of `samples` in Hz (the median of its
// frames), 0 when none is found.
double medianPitch(std::span<const std::int16_t> samples, int sampleRate);

} // namespace kel

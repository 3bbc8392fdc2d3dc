#pragma once
// Where the vowel of a recorded mora begins, and a take cut to its voice.
//
// A listener hears a mora's beat where its vowel begins, not where its
// consonant does: "さ" said on the beat has its "s" before it. The player
// places each sound by this point, so that consonants lead in as in speech.
//
//   0.08 s of hiss, then a 200 Hz vowel  -> about 0.08 s
//   a vowel from its first sample        -> 0
//   hiss alone (a whispered "す")        -> where the hiss is loudest
//
// Plain functions over mono samples; no toolkit.

#include <QtGlobal>

#include <span>
#include <vector>

namespace kel {

// The sample at which the voiced, periodic part of `mono` first rises to
// near its full level; where nothing is voiced, where the sound first comes
// near its loudest. 0 for silence.
qsizetype vowelOnset(std::span<const float> mono, int rate);
qsizetype vowelOnset(std::span<const qint16> mono, int rate);

// A consonant lasts at most this long before its vowel.
inline constexpr double kLongestLeadSeconds = 0.25;

// `mono` without the silence before and after its sound, and never
// beginning more than kLongestLeadSeconds before its vowel: 5 ms kept
// before the first audible block, 10 ms after the last, each cut faded.
std::vector<float> trimmedToVoice(const std::vector<float> &mono, int rate);

} // namespace kel

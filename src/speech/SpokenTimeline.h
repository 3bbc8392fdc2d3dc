#pragma once
// A spoken reading laid out on an even beat: which sound starts on which
// sample, and which unit each beat belongs to (for the highlight).
//
//   units "きょ お 、 A" at 6 morae a second (7350 samples a beat):
//   beat 0 きょ.wav at 0, beat 1 お.wav at 7350, beat 2 silence at 14700,
//   beats 3-4 A.wav at 22050 ("A" is "えー": two beats)

#include "reading/SpokenReading.h"
#include "speech/WavePlayer.h"

#include <QList>

#include <functional>
#include <optional>
#include <vector>

namespace kel {

// The sound file of a mora or a character, as the user's folder and the
// installed set hold it; nullopt when neither does.
using SoundLookup = std::function<std::optional<QString>(const QString &name)>;

struct SpokenTimeline {
    std::vector<Cue> cues;
    QList<qsizetype> beatUnit; // for each beat, the index of its unit
    long long endFrame = 0;
};

// Morae per second: the default, and the range kept to.
inline constexpr int kDefaultRate = 6, kMinRate = 2, kMaxRate = 10;

// The first sample of beat `beat` at `rate` beats a second.
long long beatFrame(qsizetype beat, int rate);

// How many beats a unit takes: a long pause two, a letter or sign as many
// as the morae of its name ("B" is "びー": two), everything else one.
int beatsOf(const SpokenUnit &unit);

// The cues of one mora from `from` to `to` (samples): its own sound; a pair
// without one as its two kana, the second at half the beat ("きゃ" -> き, や);
// silence when there is nothing to play.
std::vector<Cue> moraCues(const QString &mora, long long from, long long to, const SoundLookup &soundFor);

SpokenTimeline spokenTimeline(const QList<SpokenUnit> &units, int rate, const SoundLookup &soundFor);

} // namespace kel

#pragma once
// A spoken reading laid out on an even beat: which sound starts on which
// sample, and which unit each beat belongs to (for the highlight).
//
//   units "きょ お 、 A" at 8 morae a second (5513 samples a beat):
//   beat 0 きょ.wav at 0, beat 1 お.wav at 5513, beats 2-4 silence at 11025,
//   beats 5-6 A.wav at 27563 ("A" is "えー": two beats)

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

// Shapes the cues of unit `unit` (its sound chosen, starting at `from`,
// its beats ending at `to`) for its place in the sentence: its pitch accent.
using CueShaper = std::function<void(qsizetype unit, std::vector<Cue> &cues, long long from, long long to)>;

struct SpokenTimeline {
    std::vector<Cue> cues;
    QList<qsizetype> beatUnit; // for each beat, the index of its unit
    long long endFrame = 0;
};

// Morae per second: the default (read speech runs at 7.4-8.4), and the
// range kept to.
inline constexpr int kDefaultRate = 8, kMinRate = 2, kMaxRate = 12;

// The first sample of beat `beat` at `rate` beats a second.
long long beatFrame(qsizetype beat, int rate);

// How many beats a unit takes: a pause as speech pauses at the default
// rate (about 0.4 s after "、" and a line break, 0.7 s after "。"), so that
// it scales with the rate; a letter or sign as many as the morae of its
// name ("B" is "びー": two); everything else one.
int beatsOf(const SpokenUnit &unit);

// The cue of one mora starting at `from` (samples): its own sound, else the
// nearest sound the set has ("ゔぁ" -> ば, "てょ" -> ちょ), else silence.
// Never two kana for one mora.
std::vector<Cue> moraCues(const QString &mora, long long from, const SoundLookup &soundFor);

SpokenTimeline spokenTimeline(const QList<SpokenUnit> &units, int rate, const SoundLookup &soundFor,
                              const CueShaper &shape = {});

} // namespace kel

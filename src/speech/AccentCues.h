#pragma once
// A spoken reading with its pitch accent: each mora played from the
// recording at its height ("か.high.wav", "か.low.wav" beside "か.wav"),
// with the sentence's intonation as small pitch and level steps:
//
//   "橋を渡る"   は.low  し.high  お.low | わ.low  た.high  る.high (falling)
//   "箸で食べる" は.high し.low   で.low | た.low  べ.high  る.low  (falling)
//
// A phrase after an accented one is said a little lower until a pause, a
// statement falls at its end and a question rises, and a devoiced i or u
// ("す" of "です") is short and soft.

#include "accent/AccentedReading.h"
#include "speech/SpokenTimeline.h"

namespace kel {

// How one unit is played for its place in the sentence.
struct MoraShape {
    AccentedUnit::Height height = AccentedUnit::None; // the recording: high, low, or its own
    double semitones = 0;   // beyond that recording
    double gain = 1;
    bool shortened = false; // silent after half its beat

    bool operator==(const MoraShape &) const = default;
};

MoraShape moraShape(const AccentedUnit &unit);

// Shapes the cues of each unit of `units` (as spokenTimeline calls it): a
// mora's sound is replaced by its height beside it when `isFile` finds
// one, else kept and shifted by that height's step (soundAtHeight). With
// no units each sound is played as recorded.
CueShaper accentShaper(QList<AccentedUnit> units, std::function<bool(const QString &path)> isFile);

// The units of `text` with their accent, from the accent dictionary; empty
// when it cannot be opened (the text is then played as recorded).
QList<AccentedUnit> accentOf(QStringView text, const QList<SpokenUnit> &units);

} // namespace kel

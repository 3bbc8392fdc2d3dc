#pragma once
// The two heights of a take the studio keeps, made from it at once
// (pitch-shifted with its formants kept) and written beside its sound, so
// that a reading says the user's own voice high and low in its accent
// phrases. A take in which no pitch is found (too short, whispered, noise)
// keeps its one height; heights made from an earlier take of the same
// character are removed then, never left beside a sound they were not made
// from. A height the user recorded as a take of its own ("か.high" with its
// take in voice/takes) is the user's and stays as it is.

#include "voice/VoiceFolder.h"

namespace kel {

enum class TakeHeights {
    Made,    // both heights beside the sound
    OneOnly, // no pitch found: the reading plays the sound itself a step off
    NotMora, // a letter, a sign: said at no height
    Failed,  // not written (the reason in `error`); no old height is left
};

TakeHeights keepTakeHeights(const VoiceFolder &folder, const QString &ch, const QByteArray &sound, QString *error);

// The name a take at height `step` is kept under: heightName("か", 1) ->
// "か.high", heightName("か", -1) -> "か.low", heightName("か", 0) -> "か".
QString heightName(const QString &ch, int step);
// What the studio calls that sound after the character: "", "の高い音", "の低い音".
QString heightWords(int step);

// What the studio adds to "保存しました": "" when all is well.
QString takeHeightsNote(TakeHeights result);

} // namespace kel

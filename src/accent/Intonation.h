#pragma once
// The intonation over the accent phrases of a text: the downstep (each
// phrase after an accented one a step lower, until a pause), the fall at
// the end of a statement, the rise at the end of a question, and the
// devoiced vowels ("す" in "です", "き" in "きく", said short and soft).

#include "accent/AccentedReading.h"

namespace kel {

// Sets the downsteps, endings and devoicing of `units`, whose heights and
// phrases are set.
void markIntonation(QStringView text, QList<AccentedUnit> &units, const QList<AccentPhrase> &phrases);

// "き", "す", "しゅ": i or u after a voiceless consonant, a mora that loses
// its vowel before another voiceless consonant.
bool isDevoiceable(const QString &mora);
// "か", "しゃ", "っ": a mora that begins voiceless.
bool beginsVoiceless(const QString &mora);

} // namespace kel

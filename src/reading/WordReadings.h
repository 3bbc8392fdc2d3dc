#pragma once
// Readings of single words where the dictionary's pronunciation is not what
// people say, kept as one table (WordReadings.cpp) with the evidence for
// each row beside it.

#include <QString>

namespace kel {

// The reading of the word `surface`, which the dictionary pronounces
// `dictionary` (hiragana), followed by a word pronounced `next` ("" at the
// end) that is a suffix or counter when `nextIsSuffix`; "" when no row
// applies.
//   wordReading("日本", "にっぽん", "の", false) -> "にほん"
//   wordReading("何", "なに", "ねん", true)     -> "なん"
QString wordReading(const QString &surface, const QString &dictionary, const QString &next, bool nextIsSuffix);

} // namespace kel

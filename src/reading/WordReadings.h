#pragma once
// Readings of single words where the dictionary's pronunciation is not what
// people say, kept as one table (WordReadings.cpp) with the evidence for
// each row beside it.

#include "reading/Analyser.h"

#include <QList>
#include <QString>

namespace kel {

// The reading of the word `surface`, which the dictionary pronounces
// `dictionary` (hiragana), followed by a word pronounced `next` ("" at the
// end) that is a suffix or counter when `nextIsSuffix`; "" when no row
// applies.
//   wordReading("日本", "にっぽん", "の", false) -> "にほん"
//   wordReading("何", "なに", "ねん", true)     -> "なん"
QString wordReading(const QString &surface, const QString &dictionary, const QString &next, bool nextIsSuffix);

// A word the dictionary cuts in pieces, each read wrongly, beginning at
// words[i]: how many words it spans and its reading; {0, ""} when no row
// applies.
//   spanReading(<占 星 学>, 0) -> {2, "せんせい"}
struct SpanMatch {
    qsizetype words = 0;
    QString reading;
};
SpanMatch spanReading(const QList<Morpheme> &words, qsizetype i);

} // namespace kel

#pragma once
// Readings of single words where the dictionary's pronunciation is not what
// people say, kept as one table (WordReadings.cpp) with the evidence for
// each row beside it.

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

// A word the dictionary cuts in pieces, each read wrongly: how many of
// `words` (the dictionary's words from here on, with nothing between them)
// it spans and its reading; {0, ""} when no row applies.
//   spanReading({{"占"}, {"星"}, {"学"}}) -> {2, "せんせい"}
struct WordSound {
    QString surface, pronunciation; // pronunciation in hiragana
    bool suffix = false;
};
struct SpanMatch {
    qsizetype words = 0;
    QString reading;
};
SpanMatch spanReading(const QList<WordSound> &words);

} // namespace kel

#pragma once
// Kana as the board reaches them in one touch: voiced and semi-voiced
// forms, small kana and katakana all fold onto the plain hiragana cell,
// because each of those costs an extra step on the board and the user
// should be offered "が…" after touching "か".
//
//   foldKana("ガッコウ") -> "かつこう"     foldKana("ぱーてぃ") -> "はーてい"

#include <QList>
#include <QString>
#include <QStringView>

namespace kel {

QChar foldKana(QChar c);
QString foldKana(QStringView text);

// True for a character a candidate must never carry (line breaks, tabs and
// other control characters).
bool isControl(QChar c);

// `text` without control characters and with its ASCII spaces trimmed.
QString cleanForHistory(QStringView text);

// The sentences of a stored text, split after "。", "！", "？" (and their
// ASCII forms) and at line breaks; empty pieces are dropped.
//   "おはよう。げんきです！" -> ["おはよう。", "げんきです！"]
QStringList splitSentences(QStringView text);

// Where the sentence being typed begins within `context`: after the last
// sentence end or line break.
qsizetype sentenceStart(QStringView context);

} // namespace kel

#pragma once
// The default sound set: every text the board and the enlarged screen can
// enter, each with the Japanese reading a speech synthesiser is given to
// record its WAV file. "/" is absent: it cannot be a file name, so it has no
// sound in any set.

#include <QString>
#include <QStringList>

namespace kel {

// Hiragana and katakana with their voiced, semi-voiced and small forms,
// "。" "、" "ー" "？", digits, capital and small letters, the ASCII signs of
// the letter board, "(^_^)", "(T_T)" and the full-width space; then the
// pairs the spoken reading plays as one mora ("きゃ" ... "ふぉ"); each once.
QStringList soundSetCharacters();

// readingFor("っ") -> "ちいさい つ", readingFor("B") -> "びー",
// readingFor("カ") -> "か"; "" for a text outside the set.
QString readingFor(const QString &character);

// How many texts of the set would play nothing: neither the user's folder
// nor the default set holds their WAV file.
int silentCharacters(const QString &userFolder, const QString &defaultSet);

} // namespace kel

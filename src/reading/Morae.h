#pragma once
// Kana as the beats of speech. A mora is one beat: a plain kana ("か"), a
// kana with a small glide or vowel ("きゃ", "てぃ"), "ん", or "っ" (a held
// silence). Morae are written in hiragana.

#include <QString>
#include <QStringList>

namespace kel {

// One mora and the part of the kana it was read from.
struct KanaMora {
    QString mora;
    qsizetype from = 0, length = 0; // in the kana given, UTF-16 units
};

// splitMorae("きょうー")    -> きょ う ー      (katakana folded: "キョウ" alike)
// splitMorae("ティーカップ") -> てぃ ー か っ ぷ
// splitMorae("ぁあ")         -> あ あ           (a small kana with nothing to join reads as its full form)
// "ー" stays a mora of its own here; spokenMorae() turns it into a vowel.
// Characters that are not kana are left out.
QList<KanaMora> splitMorae(QStringView kana);

// The vowel a mora ends in: "きょ" -> "お", "ん" -> "", "っ" -> "".
QString vowelOf(const QString &mora);

// The morae as pronounced: "ー" becomes the vowel before it ("きょ ー" ->
// "きょ お"), "を" becomes "お", and "ゔ" and its pairs the nearest plain
// sounds ("ゔぁ" -> "ば"). A "ー" with no vowel before it is dropped.
void pronounce(QList<KanaMora> &morae);

// Every pair of kana that is read as one mora ("きゃ" ... "ぴょ", "てぃ",
// "ふぁ", ...), in table order: the sounds a full voice needs beyond the
// single kana.
const QStringList &pairMorae();

// The two kana a pair is played as when it has no sound of its own:
// "きゃ" -> {"き", "や"}, "てぃ" -> {"て", "い"}.
QStringList pairFallback(const QString &pair);

// Katakana to hiragana; everything else unchanged.
QString toHiragana(QStringView text);
bool isKana(QChar c); // hiragana, katakana, "ー"

} // namespace kel

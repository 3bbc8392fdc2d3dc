#pragma once
// Kana as the beats of speech. A mora is one beat: a plain kana ("か"), a
// kana with a small glide or vowel ("きゃ", "てぃ", "ゔぁ"), "ん", or "っ" (a
// held silence). Morae are written in hiragana, as the text writes them.

#include <QString>
#include <QStringList>

namespace kel {

// One mora and the part of the kana it was read from. A plain value: later
// stages (placing sounds, pitch) add what they need beside it.
struct KanaMora {
    QString mora;
    qsizetype from = 0, length = 0; // in the kana given, UTF-16 units
};

// splitMorae("きょうー")    -> きょ う ー      (katakana folded: "キョウ" alike)
// splitMorae("ティーカップ") -> てぃ ー か っ ぷ
// splitMorae("テョ")         -> てょ            (any kana with a small glide or vowel is one mora)
// splitMorae("ねぇ")         -> ね ー           (a small vowel the kana already ends in lengthens it)
// splitMorae("ぁあ")         -> あ あ           (a small kana with nothing to join reads as its full form)
// "ー" stays a mora of its own here; the reading turns it into a vowel.
// Characters that are not kana are left out.
QList<KanaMora> splitMorae(QStringView kana);

// The vowel a mora ends in: "きょ" -> "お", "ゔぁ" -> "あ", "ん" -> "", "っ" -> "".
QString vowelOf(const QString &mora);

// What "ー" after `mora` sounds like: its vowel, "ん" after "ん"; "" where
// there is nothing to lengthen ("っ", a pause).
QString lengthened(const QString &mora);

// The morae a full voice needs beyond the single kana of the board: every
// kana with a small glide or vowel that Japanese writing uses ("きゃ" ...
// "ぴょ", "てぃ", "ゔぁ", "きぇ", ...) and "ゔ", in table order.
const QStringList &pairMorae();

// The nearest sound a voice is likely to have for a mora it lacks, one step
// at a time: "ゔぁ" -> "ば", "てょ" -> "ちょ", "びゅ" -> "び", "さぃ" -> "さ";
// "" for a plain kana. Never two kana.
QString nearestMora(const QString &mora);

// Katakana to hiragana; everything else unchanged.
QString toHiragana(QStringView text);
bool isKana(QChar c); // hiragana, katakana, "ー"

} // namespace kel

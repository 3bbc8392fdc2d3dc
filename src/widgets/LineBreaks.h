#pragma once
// Japanese wraps between any two kana, so a wrapped message can leave "か？"
// or "た。" alone at the start of a line ("…です|か？", "…戻しまし|た。").
// The kana that end a sentence are joined (by WORD JOINER, U+2060, which
// draws nothing) with the kanji before them, so that a line breaks before
// them instead:
//
//   "戻しました。" -> "戻⁠し⁠ま⁠し⁠た。"   (breaks only before 戻)
//   "よろしいですか？" -> "よろし⁠い⁠で⁠す⁠か？" (at most five kana kept together)

#include <QString>

namespace kel {

QString keepSentenceEndsTogether(const QString &text);

} // namespace kel

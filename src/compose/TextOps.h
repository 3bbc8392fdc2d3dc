#pragma once
// Text operations of the composed message, as pure functions over a string
// and a caret position. The widget code reads the text box, calls one of
// these and writes the result back, so every rule here is testable without
// a window.
//
// Notation in the examples: `|` is the caret, `[x]` the selection block (the
// one character after the caret that the text box shows highlighted), and
// "_" the end marker that closes the composed text.
//
// Positions count characters (UTF-16 code units) in front of the caret and
// are 64-bit, so texts of any length work. Every position taken as input is
// clamped into the text first: a caret below 0 counts as 0, one beyond the
// end as the end. No input can make these functions fail.

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

// The text box contents after an operation: its text and the caret position.
struct TextEdit {
    QString text;
    qsizetype caret = 0;

    friend bool operator==(const TextEdit&, const TextEdit&) = default;
};

// The character that closes the composed text after every insertion.
inline constexpr QChar kEndMarker = u'_';

// Inserts `sentence` at the caret, as given, and puts the caret right after
// it; used when an example sentence is taken (the caller trims it first).
//   insertAtCaret("あ|い_", "おはよう")  -> "あおはよう|い_"
//   insertAtCaret("|あい_", "おはよう")  -> "おはよう|あい_"
TextEdit insertAtCaret(const QString& text, qsizetype caret, const QString& sentence);

// Inserts a picked character or string at the caret and keeps the end
// marker: "_" is appended unless the new text already ends with it. The
// caret follows the inserted text; a selection is neither replaced nor
// taken into account.
//   putText("|", "あ")          -> "あ|_"       (empty text gets the marker)
//   putText("あ|_", "い")       -> "あい|_"      then the block goes on "[_]"
//   putText("あ|[い]う_", "か") -> "あか|いう_"  (in front of the block)
//   putText("あい|", "う")      -> "あいう|_"    (marker restored)
TextEdit putText(const QString& text, qsizetype caret, const QString& insert);

// The suggestion key cut from `text` after a pick, once the caret is known
// to stand just before the last character (the user types at the end; the
// caller judges that on the box); `markerAtEnd` tells whether that character
// is the end marker. With `n` key characters (1..5; below 0 counts as 0):
//   n=2, marker     "か_" -> "か"   (fewer than n typed: all of them)
//   n=2, marker     "あいう_" -> "いう"   "_" -> ""  (an empty key offers nothing)
//   n=2, no marker  "あいう" -> "いう"
QString suggestionKeyOf(const QString& text, bool markerAtEnd, int n);

// The sentences that a suggestion key finds, in their stored order, a
// sentence stored twice listed twice. A sentence matches when its first L
// characters, L being the length of the key as given, equal the key with
// surrounding ASCII spaces removed (the full-width space U+3000 is content:
// an empty board cell enters it); the comparison is exact and
// case-sensitive. So a key with a surrounding space is longer than what it
// must equal, and only a sentence that is exactly the trimmed key matches it:
//   ["ありがとう", "あさ", "ありがとう"], "あり"  -> ["ありがとう", "ありがとう"]
//   ["あ", "あい", "あいう"],            "あ "    -> ["あ"]
//   ["Abc", "abc"],                     "ab"     -> ["abc"]
// An empty key matches every sentence; callers do not look up empty keys.
QStringList matchSamples(const QStringList& samples, const QString& key);

// Replaces the suggestion key in front of the caret by the chosen sentence
// (already trimmed), with `n` key characters, and puts the caret after it.
// Three cases, by the text T and caret s before the decision:
//   - T shorter than n+1:   C + "_",                           caret len(C)+s-len(T)+1
//   - T ends with "_":      T.left(len(T)-n-1) + C + T.mid(s), caret s+len(C)-n
//   - otherwise:            T.left(len(T)-n)   + C + T.mid(s), caret s+len(C)-n+1
// With the caret before the marker, where typing at the end leaves it:
//   n=2  "わたしはあり|_" + "ありがとう" -> "わたしはありがとう|_"
//   n=2  "あり|_"         + "ありがとう" -> "ありがとう|_"
//   n=2  "お|_"           + "おはよう"   -> "おはよう|_"
//   n=2  "わたしはあり|_" + "あり"       -> "わたしはあり|_"  (the key row itself)
// Without the marker the character under the block stays after the sentence:
//   n=2  "わたしはあ|り"  + "ありがとう" -> "わたしはありがとう|り"
// A caret that the arithmetic would put outside the new text is clamped to it.
TextEdit takeSuggestion(const QString& text, qsizetype caret,
                        const QString& chosenTrimmed, int n);

} // namespace kel

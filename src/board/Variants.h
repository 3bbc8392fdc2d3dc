#pragma once
// The variant forms the enlarged selection screen offers beside a character:
// small kana, voiced (dakuten) and semi-voiced (handakuten) kana, and the
// lower-case form of a capital letter. This is how a 10-column board, which
// shows only the plain kana, writes が, っ or ぱ.

#include <QString>
#include <optional>

namespace kel {

// The forms written into one row of the enlarged grid: `left` goes into the
// left cell (empty when there is none), `right` into the right cell.
struct VariantForms {
    QString left;
    QString right;

    friend bool operator==(const VariantForms&, const VariantForms&) = default;
};

// The variant forms of a board text; exact, case-sensitive comparison.
//   "か" -> {"", "が"}      "つ" -> {"っ", "づ"}      "ほ" -> {"ぽ", "ぼ"}
//   "あ" -> {"", "ぁ"}      "ヤ" -> {"", "ャ"}        "A"  -> {"", "a"}
//   "が", "ぁ", "a", "な", "1", "(^_^)" -> nullopt
std::optional<VariantForms> variantsOf(const QString& text);

} // namespace kel

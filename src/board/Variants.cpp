#include "board/Variants.h"

#include <iterator>

namespace kel {

namespace {

// One character with its left-cell form (0 = none) and right-cell form.
struct VariantRow {
    char16_t base;
    char16_t left;
    char16_t right;
};

constexpr char16_t kNone = 0;

constexpr VariantRow kHiraganaVariants[] = {
    // Small vowels.
    {u'あ', kNone, u'ぁ'}, {u'い', kNone, u'ぃ'}, {u'う', kNone, u'ぅ'},
    {u'え', kNone, u'ぇ'}, {u'お', kNone, u'ぉ'},
    // Voiced.
    {u'か', kNone, u'が'}, {u'き', kNone, u'ぎ'}, {u'く', kNone, u'ぐ'},
    {u'け', kNone, u'げ'}, {u'こ', kNone, u'ご'},
    {u'さ', kNone, u'ざ'}, {u'し', kNone, u'じ'}, {u'す', kNone, u'ず'},
    {u'せ', kNone, u'ぜ'}, {u'そ', kNone, u'ぞ'},
    {u'た', kNone, u'だ'}, {u'ち', kNone, u'ぢ'}, {u'て', kNone, u'で'},
    {u'と', kNone, u'ど'},
    // Small and voiced.
    {u'つ', u'っ', u'づ'},
    // Semi-voiced on the left, voiced on the right.
    {u'は', u'ぱ', u'ば'}, {u'ひ', u'ぴ', u'び'}, {u'ふ', u'ぷ', u'ぶ'},
    {u'へ', u'ぺ', u'べ'}, {u'ほ', u'ぽ', u'ぼ'},
    // Small y-row.
    {u'や', kNone, u'ゃ'}, {u'ゆ', kNone, u'ゅ'}, {u'よ', kNone, u'ょ'},

};
static_assert(std::size(kHiraganaVariants) == 28);

// Katakana lie 0x60 above their hiragana, variants included: "カ" offers
// "ガ" as "か" offers "が".
constexpr char16_t kKatakanaShift = 0x60;
constexpr char16_t kFirstKatakana = u'ァ', kLastKatakana = u'ヶ';

constexpr VariantRow shifted(VariantRow row, char16_t by)
{
    return {char16_t(row.base + by), row.left == kNone ? kNone : char16_t(row.left + by), char16_t(row.right + by)};
}

// Capital ASCII letters offer their lower-case letter on the right.
constexpr std::optional<VariantRow> letterVariant(char16_t ch)
{
    if (ch < u'A' || ch > u'Z')
        return std::nullopt;
    return VariantRow{ch, kNone, char16_t(ch - u'A' + u'a')};
}

constexpr std::optional<VariantRow> findVariant(char16_t ch)
{
    const bool katakana = ch >= kFirstKatakana && ch <= kLastKatakana;
    const char16_t hiragana = katakana ? char16_t(ch - kKatakanaShift) : ch;
    for (const VariantRow& row : kHiraganaVariants) {
        if (row.base == hiragana)
            return katakana ? shifted(row, kKatakanaShift) : row;
    }
    return letterVariant(ch);
}

QString formText(char16_t form)
{
    return form == kNone ? QString() : QString(QChar(form));
}

} // namespace

std::optional<VariantForms> variantsOf(const QString& text)
{
    if (text.size() != 1)
        return std::nullopt;
    const std::optional<VariantRow> row = findVariant(text.front().unicode());
    if (!row)
        return std::nullopt;
    return VariantForms{formText(row->left), formText(row->right)};
}

} // namespace kel

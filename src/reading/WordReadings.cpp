#include "reading/WordReadings.h"

#include <QStringView>

namespace kel {
namespace {

struct WordReading {
    const char16_t *surface;
    const char16_t *dictionary; // the dictionary's pronunciation this row corrects
    const char16_t *reading;
    // The row applies only before a word beginning with one of these kana,
    // or before a suffix when it holds "*"; "" for anywhere.
    const char16_t *before;
};

constexpr WordReading kRows[] = {
    // The IPA dictionary gives ニッポン; everyday speech and the JSUT labels
    // say にほん (BASIC5000_0011, 0030, 0037, 0238: にほん; 1169: にっぽん).
    {u"日本", u"にっぽん", u"にほん", u""},
    // The dictionary's first entry for 後 alone is のち, a written reading;
    // after a verb or a noun with の it is あと in speech (JSUT 0046, 0173).
    {u"後", u"のち", u"あと", u""},
    // 何 is なん before the sounds n, d, t and before a counter: 何の, 何で,
    // 何だ, 何と, 何年 (the dictionary says なに in each; JSUT 0002 なんの).
    {u"何", u"なに", u"なん", u"のでだとどじ*"},
    // The dictionary's stand-alone 語 is カタリ, the noun 語り written
    // without its り; 語 alone is the word ご ("この語は", "語の意味").
    {u"語", u"かたり", u"ご", u""},
    // The dictionary holds 奴 as ヤツ and as ヤッコ, an old word for a
    // servant, and sometimes picks the second ("パーフェクトな奴だ");
    // in present speech 奴 alone is やつ (冷奴 is a word of its own).
    {u"奴", u"やっこ", u"やつ", u""},
};

} // namespace

QString wordReading(const QString &surface, const QString &dictionary, const QString &next, bool nextIsSuffix)
{
    for (const WordReading &row : kRows) {
        if (surface != QStringView(row.surface) || dictionary != QStringView(row.dictionary))
            continue;
        const QStringView before(row.before);
        if (before.isEmpty() || (nextIsSuffix && before.contains(u'*'))
            || (!next.isEmpty() && before.contains(next.front())))
            return QString::fromUtf16(row.reading);
    }
    return {};
}

} // namespace kel

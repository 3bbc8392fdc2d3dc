#include "reading/WordReadings.h"

#include "reading/Morae.h"

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

// Words the dictionary does not hold as one word and reads wrongly in the
// pieces it cuts them into: the pieces' surfaces as it cuts them, joined
// by "|", and the word's reading.
struct SpanReading {
    const char16_t *pieces;
    const char16_t *reading;
    const char16_t *before; // as in WordReading
};

constexpr SpanReading kSpans[] = {
    // 占 alone is the noun うらない and 星 after it the suffix ぼし (as in
    // 流れ星); 占星 of 占星術 and 占星学 is the Sino-Japanese せんせい.
    {u"占|星", u"せんせい", u""},
    // 入 alone is taken as the place name いり; after 再 it is 再入 (さいにゅう),
    // the 入 of 再入国 and 再入院, which the dictionary cuts after 再.
    {u"再|入", u"さいにゅう", u""},
    // ロン is taken as a given name and 毛 as け; ロン毛, long hair, is ろんげ.
    {u"ロン|毛", u"ろんげ", u""},
    // ある種の, "a kind of", is あるしゅ; the dictionary's 種 alone is たね.
    {u"ある|種", u"あるしゅ", u"の"},
    // 使い as a suffix is voiced (金遣い, 人使い), but おべっか使い, a
    // flatterer, is おべっかつかい in the dictionaries of the language.
    {u"おべっか|使い", u"おべっかつかい", u""},
};

bool applies(QStringView before, const QString &next, bool nextIsSuffix)
{
    return before.isEmpty() || (nextIsSuffix && before.contains(u'*')) || (!next.isEmpty() && before.contains(next.front()));
}

} // namespace

QString wordReading(const QString &surface, const QString &dictionary, const QString &next, bool nextIsSuffix)
{
    for (const WordReading &row : kRows) {
        if (surface != QStringView(row.surface) || dictionary != QStringView(row.dictionary))
            continue;
        if (applies(row.before, next, nextIsSuffix))
            return QString::fromUtf16(row.reading);
    }
    return {};
}

SpanMatch spanReading(const QList<Morpheme> &words, qsizetype i)
{
    const auto joined = [&words](qsizetype k) { return k < words.size() && words[k].from == words[k - 1].end(); };
    for (const SpanReading &row : kSpans) {
        const auto pieces = QStringView(row.pieces).split(u'|');
        qsizetype k = 0;
        while (k < pieces.size() && i + k < words.size() && (k == 0 || joined(i + k)) && words[i + k].surface == pieces[k])
            ++k;
        if (k < pieces.size())
            continue;
        const Morpheme *after = joined(i + k) ? &words[i + k] : nullptr;
        if (applies(row.before, after ? toHiragana(after->pronunciation()) : QString(), after && after->pos1() == u"接尾"))
            return {k, QString::fromUtf16(row.reading)};
    }
    return {};
}

} // namespace kel

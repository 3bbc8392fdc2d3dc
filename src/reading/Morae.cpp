#include "reading/Morae.h"

namespace kel {
namespace {

// The morae beyond the single kana, each with the sound nearest to it for
// a voice that has no recording of it. Yōon fall back to their first kana
// (see nearestMora), so they need no second column here.
struct MoraRow {
    const char16_t *mora;
    const char16_t *nearest; // "" for "the first kana"
};

constexpr MoraRow kInventory[] = {
    {u"きゃ", u""}, {u"きゅ", u""}, {u"きょ", u""}, {u"しゃ", u""}, {u"しゅ", u""}, {u"しょ", u""},
    {u"ちゃ", u""}, {u"ちゅ", u""}, {u"ちょ", u""}, {u"にゃ", u""}, {u"にゅ", u""}, {u"にょ", u""},
    {u"ひゃ", u""}, {u"ひゅ", u""}, {u"ひょ", u""}, {u"みゃ", u""}, {u"みゅ", u""}, {u"みょ", u""},
    {u"りゃ", u""}, {u"りゅ", u""}, {u"りょ", u""}, {u"ぎゃ", u""}, {u"ぎゅ", u""}, {u"ぎょ", u""},
    {u"じゃ", u""}, {u"じゅ", u""}, {u"じょ", u""}, {u"びゃ", u""}, {u"びゅ", u""}, {u"びょ", u""},
    {u"ぴゃ", u""}, {u"ぴゅ", u""}, {u"ぴょ", u""},
    {u"ぢゃ", u"じゃ"}, {u"ぢゅ", u"じゅ"}, {u"ぢょ", u"じょ"},
    // Sounds of loan words.
    {u"しぇ", u"せ"}, {u"じぇ", u"ぜ"}, {u"ちぇ", u"ち"},
    {u"いぇ", u"え"}, {u"うぃ", u"い"}, {u"うぇ", u"え"}, {u"うぉ", u"お"},
    {u"くぁ", u"か"}, {u"くぃ", u"き"}, {u"くぇ", u"け"}, {u"くぉ", u"こ"}, {u"くゎ", u"か"},
    {u"ぐぁ", u"が"}, {u"ぐぃ", u"ぎ"}, {u"ぐぇ", u"げ"}, {u"ぐぉ", u"ご"}, {u"ぐゎ", u"が"},
    {u"つぁ", u"ちゃ"}, {u"つぃ", u"ち"}, {u"つぇ", u"ちぇ"}, {u"つぉ", u"ちょ"},
    {u"てぃ", u"ち"}, {u"でぃ", u"じ"}, {u"とぅ", u"つ"}, {u"どぅ", u"ず"},
    {u"てゃ", u"ちゃ"}, {u"てゅ", u"ちゅ"}, {u"てょ", u"ちょ"}, {u"でゃ", u"じゃ"}, {u"でゅ", u"じゅ"}, {u"でょ", u"じょ"},
    {u"ふぁ", u"は"}, {u"ふぃ", u"ひ"}, {u"ふぇ", u"へ"}, {u"ふぉ", u"ほ"},
    {u"ふゃ", u"ひゃ"}, {u"ふゅ", u"ひゅ"}, {u"ふょ", u"ひょ"},
    {u"すぃ", u"し"}, {u"ずぃ", u"じ"},
    {u"きぇ", u"け"}, {u"ぎぇ", u"げ"}, {u"にぇ", u"ね"}, {u"ひぇ", u"へ"}, {u"びぇ", u"べ"},
    {u"ぴぇ", u"ぺ"}, {u"みぇ", u"め"}, {u"りぇ", u"れ"},
    {u"ゔぁ", u"ば"}, {u"ゔぃ", u"び"}, {u"ゔ", u"ぶ"}, {u"ゔぇ", u"べ"}, {u"ゔぉ", u"ぼ"}, {u"ゔゅ", u"びゅ"},
};

bool isSmall(QChar c)
{
    return QStringView(u"ぁぃぅぇぉゃゅょゎ").contains(c);
}

// A kana that a small glide or vowel can follow.
bool takesSmall(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3094 && !isSmall(c) && c != u'っ' && c != u'ん';
}

QChar fullForm(QChar c)
{
    const QStringView small(u"ぁぃぅぇぉゃゅょゎっ"), full(u"あいうえおやゆよわつ");
    const qsizetype i = small.indexOf(c);
    return i < 0 ? c : full.at(i);
}

} // namespace

bool isKana(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3041 && u <= 0x3096) || (u >= 0x30A1 && u <= 0x30FA) || u == 0x30FC;
}

QString toHiragana(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return out;
}

QList<KanaMora> splitMorae(QStringView kana)
{
    const QString h = toHiragana(kana);
    QList<KanaMora> out;
    for (qsizetype i = 0; i < h.size(); ++i) {
        const QChar c = h.at(i);
        if (!isKana(c))
            continue;
        const QChar next = i + 1 < h.size() ? h.at(i + 1) : QChar();
        if (takesSmall(c) && isSmall(next)) {
            if (vowelOf(QString(c)) == QString(fullForm(next)) && next != u'ゎ') {
                // "ねぇ", "すぅ": the kana said longer.
                out.append({QString(c), i, 1});
                out.append({QStringLiteral("ー"), i + 1, 1});
            } else {
                out.append({h.mid(i, 2), i, 2});
            }
            ++i;
        } else {
            out.append({QString(isSmall(c) ? fullForm(c) : c), i, 1});
        }
    }
    return out;
}

QString vowelOf(const QString &mora)
{
    static const QStringView rows[] = {
        u"あかさたなはまやらわがざだばぱぁゃゎ", u"いきしちにひみりぎじぢびぴぃゐ",
        u"うくすつぬふむゆるぐずづぶぷぅゅゔ", u"えけせてねへめれげぜでべぺぇゑ", u"おこそとのほもよろをごぞどぼぽぉょ"};
    static const QStringView vowels(u"あいうえお");
    if (mora.isEmpty())
        return {};
    const QChar last = mora.back();
    for (int r = 0; r < 5; ++r)
        if (rows[r].contains(last))
            return QString(vowels.at(r));
    return {};
}

QString lengthened(const QString &mora)
{
    return mora == u"ん" ? mora : vowelOf(mora);
}

const QStringList &pairMorae()
{
    static const QStringList pairs = [] {
        QStringList out;
        for (const MoraRow &row : kInventory)
            out.append(QString::fromUtf16(row.mora));
        return out;
    }();
    return pairs;
}

QString nearestMora(const QString &mora)
{
    for (const MoraRow &row : kInventory)
        if (mora == QStringView(row.mora) && *row.nearest)
            return QString::fromUtf16(row.nearest);
    return mora.size() == 2 && isSmall(mora.at(1)) ? mora.left(1) : QString();
}

} // namespace kel

#include "reading/Morae.h"

namespace kel {
namespace {

// First kana of each pair row, then the small kana it takes.
constexpr const char16_t *kPairs[] = {
    u"きゃ", u"きゅ", u"きょ", u"しゃ", u"しゅ", u"しょ", u"ちゃ", u"ちゅ", u"ちょ",
    u"にゃ", u"にゅ", u"にょ", u"ひゃ", u"ひゅ", u"ひょ", u"みゃ", u"みゅ", u"みょ",
    u"りゃ", u"りゅ", u"りょ", u"ぎゃ", u"ぎゅ", u"ぎょ", u"じゃ", u"じゅ", u"じょ",
    u"びゃ", u"びゅ", u"びょ", u"ぴゃ", u"ぴゅ", u"ぴょ",
    // Sounds of loan words.
    u"しぇ", u"じぇ", u"ちぇ", u"いぇ", u"うぃ", u"うぇ", u"うぉ", u"くぁ", u"ぐぁ",
    u"つぁ", u"つぃ", u"つぇ", u"つぉ", u"てぃ", u"でぃ", u"てゅ", u"でゅ", u"とぅ", u"どぅ",
    u"ふぁ", u"ふぃ", u"ふぇ", u"ふぉ", u"ふゅ",
};

// The ゔ sounds, and ぢ/づ pairs, read as the plain sounds a set has.
constexpr const char16_t *kNearest[][2] = {
    {u"ゔぁ", u"ば"}, {u"ゔぃ", u"び"}, {u"ゔぇ", u"べ"}, {u"ゔぉ", u"ぼ"}, {u"ゔ", u"ぶ"},
    {u"ぢゃ", u"じゃ"}, {u"ぢゅ", u"じゅ"}, {u"ぢょ", u"じょ"},
};

bool isSmall(QChar c)
{
    return QStringView(u"ぁぃぅぇぉゃゅょゎ").contains(c);
}

QChar fullForm(QChar c)
{
    const QStringView small(u"ぁぃぅぇぉゃゅょゎっ"), full(u"あいうえおやゆよわつ");
    const qsizetype i = small.indexOf(c);
    return i < 0 ? c : full.at(i);
}

bool joinsAsPair(const QString &two)
{
    for (const char16_t *p : kPairs)
        if (two == QStringView(p))
            return true;
    for (const auto &n : kNearest)
        if (two == QStringView(n[0]))
            return true;
    return false;
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
        if (i + 1 < h.size() && isSmall(h.at(i + 1)) && joinsAsPair(h.mid(i, 2))) {
            out.append({h.mid(i, 2), i, 2});
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
        u"あかさたなはまやらわがざだばぱぁゃゎ", u"いきしちにひみりぎじぢびぴぃ",
        u"うくすつぬふむゆるぐずづぶぷぅゅゔ", u"えけせてねへめれげぜでべぺぇ", u"おこそとのほもよろをごぞどぼぽぉょ"};
    static const QStringView vowels(u"あいうえお");
    if (mora.isEmpty())
        return {};
    const QChar last = mora.back();
    for (int r = 0; r < 5; ++r)
        if (rows[r].contains(last))
            return QString(vowels.at(r));
    return {};
}

void pronounce(QList<KanaMora> &morae)
{
    QString vowel;
    for (qsizetype i = 0; i < morae.size(); ++i) {
        QString &m = morae[i].mora;
        for (const auto &n : kNearest)
            if (m == QStringView(n[0]))
                m = QString::fromUtf16(n[1]);
        if (m == u"を")
            m = QStringLiteral("お");
        if (m == u"ー") {
            if (vowel.isEmpty()) {
                morae.removeAt(i--);
                continue;
            }
            m = vowel;
        }
        vowel = vowelOf(m);
    }
}

const QStringList &pairMorae()
{
    static const QStringList pairs = [] {
        QStringList out;
        for (const char16_t *p : kPairs)
            out.append(QString::fromUtf16(p));
        return out;
    }();
    return pairs;
}

QStringList pairFallback(const QString &pair)
{
    if (pair.size() != 2)
        return {pair};
    return {pair.left(1), QString(fullForm(pair.at(1)))};
}

} // namespace kel

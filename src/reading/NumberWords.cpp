#include "reading/NumberWords.h"

#include "reading/Morae.h"
#include "reading/Numbers.h"

namespace kel {
namespace {

bool isNumberWord(const Morpheme &m)
{
    return m.pos1() == u"数" && !numberDigits(m.surface).isEmpty();
}

bool isDigits(QStringView s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit() && c.digitValue() >= 0; });
}

// One kanji digit with no place: "一", "二" ("〇" makes "二〇二六" a number).
bool isBareKanjiDigit(QStringView s)
{
    return s.size() == 1 && QStringView(u"一二三四五六七八九").contains(s.front());
}

bool touches(const QList<Morpheme> &words, qsizetype at)
{
    return at + 1 < words.size() && words[at + 1].from == words[at].end();
}

// Digit words joined by single separator words from `separators`, from
// words[i]: the indices of the digit words.
QList<qsizetype> digitGroups(const QList<Morpheme> &words, qsizetype i, QStringView separators)
{
    QList<qsizetype> groups;
    if (!isDigits(words[i].surface))
        return groups;
    groups.append(i);
    for (qsizetype k = i; touches(words, k) && touches(words, k + 1) && words[k + 1].surface.size() == 1
                          && separators.contains(words[k + 1].surface.front()) && isDigits(words[k + 2].surface);
         k += 2)
        groups.append(k + 2);
    return groups;
}

int valueOf(const Morpheme &m)
{
    return numberDigits(m.surface).toInt();
}

// "1" -> "1", "05" -> "5", "00" -> "0".
QString withoutLeadingZeros(const QString &digits)
{
    return QString::number(digits.toULongLong());
}

// The counter of a number from words[k + 1]: one word, or two that the
// table knows together ("ヶ" "月"). Returns the words it takes, 0 for none.
qsizetype counterAfter(const QList<Morpheme> &words, qsizetype k, const QString &digits, bool afterMonth, QString *counter,
                       QString *reading)
{
    for (qsizetype n : {2, 1}) {
        if (!touches(words, k) || (n == 2 && !touches(words, k + 1)))
            continue;
        QString written;
        for (qsizetype w = 1; w <= n; ++w)
            written += words[k + w].surface;
        written = written.normalized(QString::NormalizationForm_KC);
        if (const std::optional<QString> r = counterReading(digits, written, afterMonth)) {
            *counter = written, *reading = *r;
            return n;
        }
    }
    return 0;
}

// Digits said one by one with a short pause between groups: a phone number.
qsizetype phoneNumber(const QList<Morpheme> &words, qsizetype i, const NumberSink &out)
{
    const QList<qsizetype> groups = digitGroups(words, i, u"-－‐−");
    qsizetype digits = 0;
    for (qsizetype g : groups)
        digits += words[g].length;
    const bool phone = groups.size() >= 2 && groups.size() <= 4 && (words[i].surface.startsWith(u'0') || digits >= 9);
    if (!phone)
        return 0;
    for (qsizetype g : groups) {
        if (g > i)
            out.pause(words[g - 1].from, words[g - 1].length);
        const Morpheme &w = words[g];
        for (qsizetype c = 0; c < w.length; ++c)
            out.word(w.from + c, 1, numberReading(QString(QChar(u'0' + w.surface.at(c).digitValue()))));
    }
    return groups.last() + 1 - i;
}

// "10:30": じゅーじ さんじゅっぷん; "10:00": じゅーじ.
qsizetype clockTime(const QList<Morpheme> &words, qsizetype i, const NumberSink &out)
{
    const QList<qsizetype> groups = digitGroups(words, i, u":：");
    if (groups.size() != 2 || words[groups[1]].length != 2 || valueOf(words[i]) > 24 || valueOf(words[groups[1]]) > 59)
        return 0;
    const Morpheme &h = words[i], &m = words[groups[1]];
    out.word(h.from, m.from - h.from, counterReading(withoutLeadingZeros(numberDigits(h.surface)), QStringLiteral("時")).value());
    if (valueOf(m) > 0)
        out.word(m.from, m.length, counterReading(withoutLeadingZeros(numberDigits(m.surface)), QStringLiteral("分")).value());
    return 3;
}

// "2026/4/1" and "4/1": the year, the month and the day.
qsizetype date(const QList<Morpheme> &words, qsizetype i, const NumberSink &out)
{
    const QList<qsizetype> groups = digitGroups(words, i, u"/／");
    const bool withYear = groups.size() == 3 && words[i].length == 4;
    if (groups.size() != (withYear ? 3 : 2))
        return 0;
    const Morpheme &month = words[groups[withYear ? 1 : 0]], &day = words[groups.last()];
    if (valueOf(month) < 1 || valueOf(month) > 12 || valueOf(day) < 1 || valueOf(day) > 31)
        return 0;
    if (withYear)
        out.word(words[i].from, month.from - words[i].from, counterReading(numberDigits(words[i].surface), QStringLiteral("年")).value());
    out.word(month.from, day.from - month.from,
             counterReading(withoutLeadingZeros(numberDigits(month.surface)), QStringLiteral("月")).value());
    out.word(day.from, day.length, counterReading(withoutLeadingZeros(numberDigits(day.surface)), QStringLiteral("日"), true).value());
    return groups.last() + 1 - i;
}

// A quantity: the number written over one or more words ("1" "," "000",
// "三" "百" "五" "十"), a decimal, and its counter.
qsizetype quantity(const QList<Morpheme> &words, qsizetype i, bool afterMonth, bool withCounter, const NumberSink &out,
                   bool *endsInMonth)
{
    QString written = words[i].surface, decimals;
    qsizetype k = i;
    while (touches(words, k)) {
        const bool bareSoFar = std::all_of(written.cbegin(), written.cend(), [](QChar c) { return isBareKanjiDigit(QStringView(&c, 1)); });
        if (isNumberWord(words[k + 1]) && !(bareSoFar && isBareKanjiDigit(words[k + 1].surface))) {
            written += words[++k].surface;
        } else if (QStringView(u",，").contains(words[k + 1].surface) && touches(words, k + 1) && isNumberWord(words[k + 2])
                   && words[k + 2].surface.size() == 3) {
            written += words[k + 2].surface;
            k += 2;
        } else if (QStringView(u".．").contains(words[k + 1].surface) && touches(words, k + 1) && isNumberWord(words[k + 2])) {
            decimals = numberDigits(words[k + 2].surface);
            k += 2;
            break;
        } else {
            break;
        }
    }
    const QString digits = numberDigits(written);
    QString reading = numberReading(digits);
    // "何百", "何千": the place after 何 takes its voiced sound.
    QString voiced;
    if (i > 0 && words[i - 1].surface == u"何" && words[i - 1].end() == words[i].from) {
        static const QStringView kAfterNan[][2] = {{u"百", u"びゃく"}, {u"千", u"ぜん"}};
        for (const auto &row : kAfterNan)
            if (written == row[0])
                voiced = row[1].toString();
    }
    if (!voiced.isEmpty())
        reading = voiced;
    if (!decimals.isEmpty()) {
        reading += QStringLiteral("てん");
        for (QChar d : decimals)
            reading += numberReading(QString(d));
    }
    *endsInMonth = false;
    const qsizetype numberWords = k + 1 - i;
    QString counter, both;
    const qsizetype counterWords = decimals.isEmpty() && withCounter ? counterAfter(words, k, digits, afterMonth, &counter, &both) : 0;
    if (counterWords == 0) {
        out.word(words[i].from, words[k].end() - words[i].from, reading);
        return numberWords;
    }
    // The counter's characters take as many of the last morae as its own
    // reading has ("100円": ひゃく | えん, "3本": さん | ぼん, "1人": ひ |
    // とり), so that each character read on its own says its own part.
    if (!voiced.isEmpty())
        both = voiced + counterOnly(counter);
    const QList<KanaMora> all = splitMorae(both);
    const qsizetype own = std::min(splitMorae(counterOnly(counter)).size(), all.size() - 1);
    QString head, tail;
    for (qsizetype m = 0; m < all.size(); ++m)
        (m < all.size() - own ? head : tail) += all[m].mora;
    out.word(words[i].from, words[k + 1].from - words[i].from, head);
    out.word(words[k + 1].from, words[k + counterWords].end() - words[k + 1].from, tail);
    *endsInMonth = counter == u"月";
    return numberWords + counterWords;
}

} // namespace

qsizetype numberWords(const QList<Morpheme> &words, qsizetype i, bool afterMonth, const NumberSink &out, bool *endsInMonth)
{
    *endsInMonth = false;
    // "¥500": the number, then the yen sign.
    if ((words[i].surface == u"¥" || words[i].surface == u"￥") && touches(words, i) && isNumberWord(words[i + 1])) {
        bool month = false;
        const qsizetype used = quantity(words, i + 1, false, false, out, &month);
        out.word(words[i].from, words[i].length, QStringLiteral("えん"));
        return used + 1;
    }
    if (!isNumberWord(words[i]))
        return 0;
    for (const auto form : {phoneNumber, clockTime, date})
        if (const qsizetype used = form(words, i, out))
            return used;
    return quantity(words, i, afterMonth, true, out, endsInMonth);
}

} // namespace kel

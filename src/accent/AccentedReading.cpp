#include "accent/AccentedReading.h"

#include "accent/Intonation.h"
#include "reading/Morae.h"

#include <array>

namespace kel {
namespace {

bool isSaid(const SpokenUnit &u)
{
    return u.kind == SpokenUnit::Mora || u.kind == SpokenUnit::Hold;
}

bool isPause(const SpokenUnit &u)
{
    return u.kind == SpokenUnit::ShortPause || u.kind == SpokenUnit::LongPause;
}

// A word of the accent dictionary with the spoken units read from its
// characters.
struct Placed {
    AccentWord word;
    QStringList pron;     // the dictionary's morae ("ー" kept), empty when unknown
    QList<qsizetype> units; // indexes of the said units
};

QStringList pronMorae(const Morpheme &m)
{
    QStringList out;
    for (const KanaMora &k : splitMorae(toHiragana(m.pronunciation())))
        out << k.mora;
    return out;
}

// The words of the dictionary over the text, each with the units whose
// start lies in it; a pause between two words ends the phrase there.
QList<Placed> placeWords(const QList<SpokenUnit> &units, const QList<Morpheme> &words)
{
    QList<Placed> out;
    qsizetype u = 0;
    for (const Morpheme &m : words) {
        const bool mark = m.pos() == u"記号";
        for (; u < units.size() && units[u].from < m.from; ++u)
            if (isPause(units[u]) && !out.isEmpty())
                out.last().word.pauseAfter = true;
        Placed p{accentWordFromFields(m.features, m.from, m.length), pronMorae(m), {}};
        for (; u < units.size() && units[u].from < m.end(); ++u) {
            if (isSaid(units[u]))
                p.units << u;
            else if (isPause(units[u]) && mark && !out.isEmpty())
                out.last().word.pauseAfter = true;
        }
        if (mark && p.units.isEmpty())
            continue;
        out.append(std::move(p));
    }
    for (; u < units.size(); ++u)
        if (isPause(units[u]) && !out.isEmpty())
            out.last().word.pauseAfter = true;
    return out;
}

// Where the two dictionaries cut a kanji compound differently, the spoken
// morae are spread evenly over its characters and a word may take a mora of
// its neighbour; a run of words whose morae add up to what the accent
// dictionary says is given back its morae by the dictionary's counts.
void rebalance(QList<Placed> &placed)
{
    constexpr qsizetype kLongestRun = 4;
    const auto expected = [](const Placed &p) { return p.pron.isEmpty() ? p.units.size() : p.pron.size(); };
    for (qsizetype i = 0; i < placed.size(); ++i) {
        if (expected(placed[i]) == placed[i].units.size())
            continue;
        qsizetype have = 0, want = 0;
        for (qsizetype j = i; j < placed.size() && j < i + kLongestRun; ++j) {
            have += placed[j].units.size();
            want += expected(placed[j]);
            if (have != want || j == i)
                continue;
            QList<qsizetype> all;
            for (qsizetype k = i; k <= j; ++k)
                all << placed[k].units;
            for (qsizetype k = i, next = 0; k <= j; ++k) {
                const qsizetype n = expected(placed[k]);
                placed[k].units = all.mid(next, n);
                next += n;
            }
            i = j;
            break;
        }
    }
}

// "１人", "二人" are read as words of their own, ひとり and ふたり, not as
// a number and its counter: they take these words' accent.
struct CountWord {
    QStringView said;
    int nucleus;
};

constexpr std::array kCountWords = {CountWord{u"ひとり", 2}, CountWord{u"ふたり", 3}};

QString saidText(const Placed &p, const QList<SpokenUnit> &units)
{
    QString said;
    for (qsizetype u : p.units)
        said += units[u].text;
    return said;
}

void mergeCountWords(QList<Placed> &placed, const QList<SpokenUnit> &units)
{
    for (qsizetype i = 0; i + 1 < placed.size(); ++i) {
        if (placed[i].word.pos1 != u"数" || placed[i + 1].word.pos1 != u"接尾")
            continue;
        const QString said = saidText(placed[i], units) + saidText(placed[i + 1], units);
        for (const CountWord &count : kCountWords)
            if (said == count.said) {
                Placed &merged = placed[i];
                merged.units << placed[i + 1].units;
                merged.pron.clear();
                for (qsizetype u : merged.units)
                    merged.pron << units[u].text;
                merged.word.nucleus = count.nucleus;
                merged.word.length = placed[i + 1].word.from + placed[i + 1].word.length - merged.word.from;
                merged.word.pauseAfter = placed[i + 1].word.pauseAfter;
                placed.remove(i + 1);
                break;
            }
    }
}

// A number of three digits or more is said in phrases by its places:
// "１４７３" せ'ん | よ'んひゃく | なな'じゅう | さん, each falling on the
// place's せ (thousands) or on the digit before ひゃく and じゅう; the last
// group keeps its digit's own accent and takes the counter after it.
constexpr qsizetype kDigitsSaidByPlaces = 3;

struct Place {
    QStringView kana;
    int fallBefore; // the nucleus counted back from the group's end
};

constexpr std::array kPlaces = {
    Place{u"せん", 1}, Place{u"ぜん", 1}, Place{u"まん", 1}, Place{u"おく", 1},
    Place{u"ひゃく", 2}, Place{u"びゃく", 2}, Place{u"ぴゃく", 2}, Place{u"じゅう", 2},
};

bool isDigitWord(const Placed &p, QStringView text)
{
    const QStringView s = text.mid(p.word.from, p.word.length);
    return p.word.pos1 == u"数" && s.size() == 1 && s.front().isDigit();
}

// The place a group of morae ends in, if it does.
const Place *placeAtEnd(const QStringList &morae)
{
    const QString said = morae.join(QString());
    for (const Place &place : kPlaces)
        if (said.endsWith(place.kana))
            return &place;
    return nullptr;
}

void groupNumbersByPlace(QList<Placed> &placed, QStringView text, const QList<SpokenUnit> &units)
{
    for (qsizetype i = 0; i < placed.size(); ++i) {
        qsizetype end = i;
        while (end < placed.size() && isDigitWord(placed[end], text))
            ++end;
        // "２００万": the digits count the 万 after them, said as one.
        const bool countsPlaceAfter = end < placed.size() && placed[end].word.pos1 == u"数";
        if (end - i < kDigitsSaidByPlaces || countsPlaceAfter) {
            i = end;
            continue;
        }
        QList<qsizetype> said;
        for (qsizetype k = i; k < end; ++k)
            said << placed[k].units;
        const Placed last = placed[end - 1];
        QList<Placed> groups;
        Placed group{placed[i].word, {}, {}};
        for (qsizetype k = 0; k < said.size(); ++k) {
            group.units << said[k];
            group.pron << units[said[k]].text;
            // A ひゃく or じゅう with no digit of its own ("１１９"
            // ひゃくじゅうきゅう) goes on with the digits after it.
            const Place *place = placeAtEnd(group.pron);
            const QString before = place ? group.pron.join(QString()).chopped(place->kana.size()) : QString();
            const bool bare = place && place->fallBefore >= 2 && (before.isEmpty() || placeAtEnd({before}));
            if (k + 1 < said.size() && (!place || bare))
                continue;
            group.word.morae = int(group.units.size());
            if (place)
                group.word.nucleus = qMax(1, int(group.units.size()) - place->fallBefore);
            else if (last.word.nucleus > 0 && last.pron.size() <= group.units.size())
                group.word.nucleus = int(group.units.size() - last.pron.size()) + last.word.nucleus;
            else
                group.word.nucleus = 0;
            group.word.endsPhrase = k + 1 < said.size();
            group.word.pauseAfter = k + 1 == said.size() && last.word.pauseAfter;
            groups << group;
            group = Placed{placed[i].word, {}, {}};
        }
        placed.remove(i, end - i);
        for (qsizetype g = 0; g < groups.size(); ++g)
            placed.insert(i + g, groups[g]);
        i += groups.size() - 1;
    }
}

// A nucleus cannot sit on "ん", "っ" or the second half of a long vowel: it
// falls one mora earlier ("じゅう" + "ご" is じゅ'うご, not じゅう'ご).
bool isSpecialMora(const Placed &p, qsizetype index, const QList<SpokenUnit> &units)
{
    const QString &said = units[p.units[index]].text;
    if (said == u"ん" || said == u"っ")
        return true;
    return p.pron.size() == p.units.size() && p.pron[index] == u"ー";
}

} // namespace

QList<AccentedUnit> accentUnits(QStringView text, const QList<SpokenUnit> &units, const QList<Morpheme> &words,
                                AccentMethod method)
{
    QList<Placed> placed = placeWords(units, words);
    mergeCountWords(placed, units);
    groupNumbersByPlace(placed, text, units);
    rebalance(placed);
    QList<AccentWord> accentWords;
    for (Placed &p : placed) {
        p.word.morae = int(p.units.size());
        if (p.pron.isEmpty()) // unknown to the dictionary: flat
            p.word.nucleus = 0;
        p.word.nucleus = qMin(p.word.nucleus, p.word.morae);
        accentWords << p.word;
    }
    QList<AccentPhrase> phrases =
        method == AccentMethod::WordsAlone ? wordAccentsAlone(accentWords) : accentPhrases(accentWords);

    QList<AccentedUnit> out;
    for (const SpokenUnit &u : units)
        out.append({u});
    for (qsizetype k = 0; k < phrases.size(); ++k) {
        AccentPhrase &phrase = phrases[k];
        if (method == AccentMethod::Flat)
            phrase.nucleus = 0;
        // The phrase's morae, and whether each may carry the nucleus.
        QList<qsizetype> said;
        QList<bool> special;
        for (qsizetype w = phrase.firstWord; w < phrase.firstWord + phrase.words; ++w)
            for (qsizetype i = 0; i < placed[w].units.size(); ++i) {
                said << placed[w].units[i];
                special << isSpecialMora(placed[w], i, units);
            }
        while (phrase.nucleus > 1 && special.value(phrase.nucleus - 1))
            --phrase.nucleus;
        for (qsizetype i = 0; i < said.size(); ++i) {
            AccentedUnit &a = out[said[i]];
            a.phrase = int(k);
            a.height = isHigh(phrase.nucleus, int(i)) ? AccentedUnit::High : AccentedUnit::Low;
        }
    }
    // A said unit no word covered goes with the phrase before it, low.
    int phrase = -1;
    for (AccentedUnit &a : out) {
        if (isSaid(a.unit) && a.phrase < 0)
            a.phrase = qMax(phrase, 0), a.height = AccentedUnit::Low;
        phrase = qMax(phrase, a.phrase);
    }
    markIntonation(text, out, phrases);
    return out;
}

QString accentLine(const QList<AccentedUnit> &units)
{
    QString line;
    int phrase = -1;
    for (const AccentedUnit &a : units) {
        if (!line.isEmpty())
            line += a.height != AccentedUnit::None && phrase >= 0 && a.phrase != phrase ? u" | " : u" ";
        line += a.unit.text;
        if (a.height != AccentedUnit::None) {
            line += a.height == AccentedUnit::High ? u"/H" : u"/L";
            phrase = a.phrase;
        }
    }
    return line;
}

} // namespace kel

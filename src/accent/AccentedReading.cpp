#include "accent/AccentedReading.h"

#include "accent/Intonation.h"
#include "reading/Morae.h"

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

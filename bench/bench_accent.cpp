// Pitch accent, measured on the JSUT accent labels (bench/accent):
//   heights    the share of morae at the right height, among sentences
//              whose mora count matches the label's;
//   phrases    precision and recall of the accent phrase boundaries;
// for the phrase rules, the dictionary's word accents alone and a flat
// pattern side by side; and the time to analyse 2,000 characters.
// The sentences are split in two halves by their number: rules are made
// while looking at the even ones only ("--errors" lists their mistakes),
// and the odd ones, never looked at, say whether a rule holds beyond them.
// "--analyse" sorts the development half's mistakes by kind (see Analysis);
// "--no-timing" prints the figures alone.
// Prints medians. Run by hand: build/bench/bench_accent [--errors] [--analyse] [--no-timing]
#include "BenchUtil.h"

#include "accent/AccentDictionary.h"
#include "accent/AccentedReading.h"
#include "reading/Analyser.h"
#include "reading/Morae.h"
#include "speech/MoraHeights.h"
#include "speech/WavCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kel;
using namespace kel::bench;

namespace {

// A sentence as labelled: each mora high or low, and the morae that begin
// an accent phrase.
struct Pitch {
    QStringList morae;
    QList<bool> high;
    QSet<int> phraseStarts;
};

// "^ミ[ズヲ#マ[レ]ーシアカラ$": "#" and "_" begin a phrase, "[" rises,
// "]" falls after the mora before it.
Pitch parseLabel(QStringView label)
{
    Pitch p;
    bool high = false, first = true;
    QString kana;
    const auto flush = [&] {
        for (const KanaMora &m : splitMorae(toHiragana(kana))) {
            if (first && !p.morae.isEmpty())
                p.phraseStarts.insert(int(p.morae.size()));
            p.morae << m.mora;
            p.high << high;
            first = false;
        }
        kana.clear();
    };
    for (QChar c : label) {
        if (c == u'#' || c == u'_' || c == u'[' || c == u']' || c == u'^' || c == u'$' || c == u'?') {
            flush();
            if (c == u'#' || c == u'_')
                first = true, high = false;
            else if (c == u'[')
                high = true;
            else if (c == u']') {
                if (!p.high.isEmpty())
                    p.high.last() = true;
                high = false;
            }
            continue;
        }
        kana += c;
    }
    flush();
    return p;
}

Pitch ours(const QList<AccentedUnit> &units)
{
    Pitch p;
    int phrase = -1;
    for (const AccentedUnit &a : units) {
        if (a.height == AccentedUnit::None)
            continue;
        if (phrase >= 0 && a.phrase != phrase)
            p.phraseStarts.insert(int(p.morae.size()));
        phrase = a.phrase;
        p.morae << a.unit.text;
        p.high << (a.height == AccentedUnit::High);
    }
    return p;
}

QString heights(const Pitch &p)
{
    QString s;
    for (qsizetype i = 0; i < p.morae.size(); ++i)
        s += (p.phraseStarts.contains(int(i)) ? QStringLiteral("| ") : QString()) + p.morae[i]
             + (p.high[i] ? u'H' : u'L') + u' ';
    return s;
}

struct Score {
    qsizetype morae = 0, right = 0, boundaries = 0, found = 0, foundRight = 0;
    void add(const Pitch &gold, const Pitch &got)
    {
        morae += gold.morae.size();
        for (qsizetype i = 0; i < gold.high.size(); ++i)
            right += gold.high[i] == got.high[i];
        boundaries += gold.phraseStarts.size();
        found += got.phraseStarts.size();
        foundRight += QSet<int>(got.phraseStarts).intersect(gold.phraseStarts).size();
    }
    void merge(const Score &o)
    {
        morae += o.morae, right += o.right, boundaries += o.boundaries, found += o.found, foundRight += o.foundRight;
    }
    void print(const char *name) const
    {
        std::printf("  %-22s heights %5.2f %%   boundaries: precision %5.1f %%  recall %5.1f %%\n", name,
                    100.0 * double(right) / double(qMax<qsizetype>(morae, 1)),
                    100.0 * double(foundRight) / double(qMax<qsizetype>(found, 1)),
                    100.0 * double(foundRight) / double(qMax<qsizetype>(boundaries, 1)));
    }
};

QHash<QString, QString> readTexts()
{
    QHash<QString, QString> texts;
    for (const QString &path : {QStringLiteral(READING_TEXTS), QStringLiteral(ACCENT_TEXTS)}) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n')) {
            const QStringList cols = line.split(u'\t');
            if (cols.size() >= 2)
                texts.insert(cols[0], cols[1]);
        }
    }
    return texts;
}


// Both heights of each mora of the default set, made as the studio makes
// them from a take it saves (at the studio's 44.1 kHz): a median per mora,
// and the whole set.
void reportHeights()
{
    constexpr int kStudioRate = 44100;
    std::vector<QByteArray> takes;
    const QDir voices(QStringLiteral(VOICES_DIR));
    for (const QString &name : voices.entryList({QStringLiteral("*.wav")}, QDir::Files)) {
        QFile f(voices.filePath(name));
        const QString mora = name.chopped(4);
        if (splitMorae(mora).size() != 1 || !heightOf(mora).isEmpty() || !f.open(QIODevice::ReadOnly))
            continue;
        if (const auto audio = decodeWav(f.readAll()))
            takes.push_back(encodeWav16(resample(toMono(*audio), audio->rate, kStudioRate), kStudioRate));
    }
    if (takes.empty()) {
        std::printf("heights: no default set in %s (build the target voices)\n", VOICES_DIR);
        return;
    }
    std::vector<double> perMora;
    int unshifted = 0;
    const auto all = timeRuns(1, [&] {
        for (const QByteArray &take : takes)
            perMora.push_back(timeRuns(1, [&] { unshifted += !makeHeights(take); })[0]);
    });
    report("high and low of one mora at 44.1 kHz (median over the set)", perMora);
    std::printf("high and low of all %zu morae: %.0f ms (%d without a pitch found)\n", takes.size(), all[0], unshifted);
}

// The mora of [from, to) after which the pitch falls; -1 for a flat stretch.
int fallIn(const QList<bool> &high, int from, int to)
{
    if (high[from] && (to - from == 1 || !high[from + 1]))
        return from;
    for (int i = from + 1; i + 1 < to; ++i)
        if (high[i] && !high[i + 1])
            return i;
    return -1;
}

// Where the rules go wrong on the development half, by kind: false and
// missed phrase boundaries by the words on either side; inside phrases
// whose boundaries are right, a first mora at the wrong height, and a
// nucleus in the wrong place by the word it falls in, labelled and ours.
struct Analysis {
    QHash<QString, int> falseBoundaries, missedBoundaries, nucleusErrors, firstMora;
    QHash<QString, QStringList> examples; // sentence numbers by table and row
    int inRightPhrases = 0, inWrongPhrases = 0, lostMorae = 0;

    // "助詞,格助詞,が", "名詞,一般": the word that covers `from`.
    static QString wordClass(const QList<Morpheme> &words, qsizetype from)
    {
        for (const Morpheme &m : words)
            if (from >= m.from && from < m.end())
                return m.pos() + u',' + m.pos1() + (m.pos() == u"名詞" ? QString() : u',' + m.feature(6));
        return QStringLiteral("?");
    }

    void count(QHash<QString, int> &table, const QString &row, int n, const QString &id)
    {
        table[row] += n;
        examples[tableRow(table, row)] << id;
    }
    static QString tableRow(const QHash<QString, int> &table, const QString &row)
    {
        return QString::number(quintptr(&table)) + row;
    }

    void add(const QString &id, const Pitch &gold, const Pitch &got, const QList<qsizetype> &froms,
             const QList<Morpheme> &words)
    {
        const auto at = [&](int i) { return wordClass(words, froms[i]); };
        for (int b : got.phraseStarts)
            if (!gold.phraseStarts.contains(b))
                count(falseBoundaries, at(b - 1) + QStringLiteral("  +  ") + at(b), 1, id);
        for (int b : gold.phraseStarts)
            if (!got.phraseStarts.contains(b))
                count(missedBoundaries, at(b - 1) + QStringLiteral("  +  ") + at(b), 1, id);
        QList<int> starts = got.phraseStarts.values();
        starts << 0 << int(got.morae.size());
        std::sort(starts.begin(), starts.end());
        for (qsizetype k = 0; k + 1 < starts.size(); ++k) {
            const int from = starts[k], to = starts[k + 1];
            int wrong = 0;
            for (int i = from; i < to; ++i)
                wrong += gold.high[i] != got.high[i];
            if (!wrong)
                continue;
            const bool rightBounds = (from == 0 || gold.phraseStarts.contains(from))
                                     && (to == got.morae.size() || gold.phraseStarts.contains(to));
            if (!rightBounds) {
                inWrongPhrases += wrong;
                continue;
            }
            inRightPhrases += wrong;
            if (to - from > 1 && wrong == 1 && gold.high[from] == gold.high[from + 1]
                && got.high[from] != got.high[from + 1]) {
                count(firstMora, gold.morae[from] + u' ' + gold.morae[from + 1], 1, id);
                continue;
            }
            // "名詞,一般@2": the word's class and the nucleus's mora in it.
            const auto where = [&](int n) {
                if (n < 0)
                    return QStringLiteral("flat");
                int first = n;
                while (first > from && at(first - 1) == at(n))
                    --first;
                return at(n) + u'@' + QString::number(n - first + 1);
            };
            count(nucleusErrors,
                  QStringLiteral("labels ") + where(fallIn(gold.high, from, to)) + QStringLiteral("  ours ")
                      + where(fallIn(got.high, from, to)),
                  wrong, id);
        }
    }

    void print(const char *title, const QHash<QString, int> &table, int top) const
    {
        QList<std::pair<int, QString>> sorted;
        int total = 0;
        for (auto it = table.begin(); it != table.end(); ++it)
            sorted.append({it.value(), it.key()}), total += it.value();
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        std::printf("%s (%d):\n", title, total);
        for (qsizetype i = 0; i < sorted.size() && i < top; ++i)
            std::printf("  %4d  %s   %s\n", sorted[i].first, qPrintable(sorted[i].second),
                        qPrintable(examples.value(tableRow(table, sorted[i].second)).mid(0, 6).join(u' ')));
    }

    void print() const
    {
        std::printf("morae of sentences lost to a different mora count %d; wrong heights in phrases with right "
                    "boundaries %d, in the others %d\n",
                    lostMorae, inRightPhrases, inWrongPhrases);
        print("false boundaries", falseBoundaries, 40);
        print("missed boundaries", missedBoundaries, 25);
        print("first mora at the wrong height", firstMora, 15);
        print("nucleus misplaced", nucleusErrors, 60);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool showErrors = app.arguments().contains(QStringLiteral("--errors"));
    const bool analyse = app.arguments().contains(QStringLiteral("--analyse"));
    const bool figuresOnly = analyse || app.arguments().contains(QStringLiteral("--no-timing"));
    Analysis analysis;
    QString why;
    const std::unique_ptr<Analyser> reading = Analyser::open(&why);
    const Analyser *accent = accentAnalyser(&why);
    if (!reading || !accent) {
        std::fprintf(stderr, "bench_accent: %s\n", qPrintable(why));
        return 1;
    }
    const QHash<QString, QString> texts = readTexts();
    QFile labels(QStringLiteral(ACCENT_LABELS));
    if (!labels.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;

    const struct {
        const char *name;
        AccentMethod method;
    } methods[] = {{"phrase rules", AccentMethod::Rules},
                   {"word accents alone", AccentMethod::WordsAlone},
                   {"flat", AccentMethod::Flat}};
    enum Half { Development, HeldOut };
    Score scores[2][3];
    int sentences = 0, matched = 0;
    QString all;
    for (const QString &line : QString::fromUtf8(labels.readAll()).split(u'\n')) {
        const qsizetype colon = line.indexOf(u':');
        const QString id = line.left(colon), text = texts.value(id);
        if (colon < 0 || text.isEmpty() || id > u"BASIC5000_4000")
            continue;
        ++sentences;
        all += text;
        const Pitch gold = parseLabel(QStringView(line).mid(colon + 1).trimmed());
        const QList<SpokenUnit> units = spokenUnits(text, reading.get());
        const QList<Morpheme> words = accent->analyse(text);
        const QList<AccentedUnit> accented = accentUnits(text, units, words);
        const Pitch rules = ours(accented);
        const Half half = id.right(1).toInt() % 2 == 0 ? Development : HeldOut;
        if (rules.morae.size() != gold.morae.size()) {
            if (analyse && half == Development) {
                analysis.lostMorae += int(gold.morae.size());
                std::printf("lost %s %s\n  labels %s\n  ours   %s\n", qPrintable(id), qPrintable(text),
                            qPrintable(gold.morae.join(QString())), qPrintable(rules.morae.join(QString())));
            }
            continue;
        }
        ++matched;
        for (int m = 0; m < 3; ++m)
            scores[half][m].add(gold, m == 0 ? rules : ours(accentUnits(text, units, words, methods[m].method)));
        if (analyse && half == Development) {
            QList<qsizetype> froms; // where in the text each mora is read from
            for (const AccentedUnit &a : accented)
                if (a.height != AccentedUnit::None)
                    froms << a.unit.from;
            analysis.add(id.mid(10), gold, rules, froms, words);
        }
        if (showErrors && half == Development && rules.high != gold.high)
            std::printf("%s %s\n  gold %s\n  ours %s\n", qPrintable(id), qPrintable(text), qPrintable(heights(gold)),
                        qPrintable(heights(rules)));
    }
    if (analyse)
        analysis.print();
    std::printf("JSUT accent labels: %d sentences, %d with the labels' mora count (%.1f %%)\n", sentences, matched,
                100.0 * matched / qMax(sentences, 1));
    for (const Half half : {Development, HeldOut}) {
        std::printf(half == Development ? "development half (even numbers):\n" : "held-out half (odd numbers):\n");
        for (int m = 0; m < 3; ++m)
            scores[half][m].print(methods[m].name);
    }
    std::printf("both:\n");
    for (int m = 0; m < 3; ++m) {
        Score both = scores[Development][m];
        both.merge(scores[HeldOut][m]);
        both.print(methods[m].name);
    }

    if (figuresOnly)
        return 0;
    const QString text = all.left(2000);
    const QList<SpokenUnit> units = spokenUnits(text, reading.get());
    report("accent of 2,000 characters (accent dictionary and rules)", timeRuns(21, [&] {
               accentUnits(text, units, accent->analyse(text));
           }));
    report("reading and accent of 2,000 characters", timeRuns(21, [&] {
               accentUnits(text, spokenUnits(text, reading.get()), accent->analyse(text));
           }));
    reportHeights();
    return 0;
}

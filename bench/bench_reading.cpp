// The spoken reading, measured:
//   accuracy   mora error rate and exact sentences on the JSUT set
//              (bench/reading), the rules against the dictionary's own
//              pronunciation field;
//   speed      analysing 2,000 characters with the dictionary loaded;
//   load       opening the dictionary;  memory: resident growth;
//   beat       onsets of a played timeline against their beats, recorded
//              from the null sink (run under tools/with-pulse; skipped
//              without it).
// Each packaged dictionary installed is measured side by side.
// Prints medians. Run by hand: build/bench/bench_reading [--errors] [FOLDER...]
#include "BenchUtil.h"
#include "support/AudioCapture.h"

#include "reading/Analyser.h"
#include "reading/Morae.h"
#include "reading/SpokenReading.h"
#include "speech/QtWavePlayer.h"
#include "speech/SpokenTimeline.h"
#include "speech/WavCodec.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace kel;
using namespace kel::bench;

namespace {

// Resident MB: "VmRSS" all of it, "RssFile" the mapped files (the
// dictionary is mapped, shared with the page cache), "RssAnon" the rest.
double residentMb(const char *field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

// Morae as both sides are compared: "ー" the vowel before it, "を" "お".
QStringList comparable(QStringView kana, bool rules = true)
{
    QStringList out;
    for (const KanaMora &k : splitMorae(kana)) {
        QString m = k.mora;
        if (rules && m == u"を")
            m = QStringLiteral("お");
        if (rules && m == u"ー") {
            m = out.isEmpty() ? QString() : lengthened(out.last());
            if (m.isEmpty())
                continue;
        }
        out << m;
    }
    return out;
}

QStringList spokenMorae(const QList<SpokenUnit> &units)
{
    QStringList out;
    for (const SpokenUnit &u : units)
        if (u.kind == SpokenUnit::Mora || u.kind == SpokenUnit::Hold || u.kind == SpokenUnit::Sign)
            out << u.text;
    return out;
}

qsizetype distance(const QStringList &a, const QStringList &b)
{
    std::vector<qsizetype> row(size_t(b.size() + 1));
    for (qsizetype j = 0; j <= b.size(); ++j)
        row[size_t(j)] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype up = row[size_t(j)];
            row[size_t(j)] = std::min({up + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[size_t(b.size())];
}

struct Score {
    qsizetype errors = 0, morae = 0, exact = 0, sentences = 0;
    void add(const QStringList &got, const QStringList &gold)
    {
        const qsizetype d = distance(got, gold);
        errors += d, morae += gold.size(), exact += d == 0, ++sentences;
    }
    void print(const char *what) const
    {
        std::printf("%-44s mora error rate %6.2f %%  (%lld of %lld)   exact sentences %6.2f %% (%lld of %lld)\n", what,
                    100.0 * double(errors) / double(morae), qlonglong(errors), qlonglong(morae),
                    100.0 * double(exact) / double(sentences), qlonglong(exact), qlonglong(sentences));
    }
};

void beat(int rate)
{
    if (test::runTool(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")}).value_or("").trimmed() != "kelvoran_null") {
        std::printf("beat: skipped (run under tools/with-pulse)\n");
        return;
    }
    QTemporaryDir dir;
    const QStringList morae{"あ", "い", "う", "え", "お"};
    for (int i = 0; i < morae.size(); ++i)
        test::writeFile(dir.filePath(morae[i] + ".wav"), test::toneWav(300 + 200 * i, 0.4 / rate));
    QList<SpokenUnit> units;
    constexpr int kMorae = 120;
    for (int i = 0; i < kMorae; ++i)
        units.append({SpokenUnit::Mora, morae[i % morae.size()], i, 1});
    const SpokenTimeline line = spokenTimeline(units, rate, [&](const QString &name) -> std::optional<QString> {
        return dir.filePath(name + ".wav");
    });
    QtWavePlayer player;
    QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000);
    const QList<qint16> heard = test::recordingWhile(dir.filePath("capture"), [&] {
        player.playTimeline(line.cues, line.endFrame);
        QTest::qWait(int(1000LL * line.endFrame / kPlaybackRate) + 300);
    });
    const QList<test::Sound> onsets = test::soundsIn(heard, 0.02);
    std::vector<double> errorsMs;
    for (qsizetype i = 0; i < onsets.size() && i < kMorae; ++i)
        errorsMs.push_back(std::abs(onsets[i].onset - onsets[0].onset - double(beatFrame(i, rate)) / kPlaybackRate) * 1000);
    if (qEnvironmentVariableIsSet("BEAT_TRACE"))
        for (size_t i = 0; i < errorsMs.size(); ++i)
            std::printf("%zu:%.2f%s", i, (onsets[qsizetype(i)].onset - onsets[0].onset - double(beatFrame(qsizetype(i), rate)) / kPlaybackRate) * 1000, i + 1 == errorsMs.size() ? "\n" : " ");
    std::printf("beat at %d morae/s: %lld of %d onsets found, error median %.3f ms, max %.3f ms\n", rate,
                qlonglong(onsets.size()), kMorae, median(errorsMs),
                errorsMs.empty() ? 0.0 : *std::max_element(errorsMs.begin(), errorsMs.end()));
}

// The share of each mora's energy that falls within its beat at `rate`
// when it starts on the beat and the next mora cuts it: read from the files
// of a sound set, the single kana and the pairs.
void energyWithinBeat(const QString &folder)
{
    QStringList morae = pairMorae();
    for (QChar c = u'あ'; c <= u'ん'; c = QChar(c.unicode() + 1))
        morae << QString(c);
    std::vector<double> lengths;
    for (int rate : {6, 8, 10}) {
        std::vector<double> shares;
        int whole = 0;
        for (const QString &m : morae) {
            QFile f(folder + u'/' + m + QStringLiteral(".wav"));
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const std::optional<Audio> audio = decodeWav(f.readAll());
            if (!audio)
                continue;
            const std::vector<float> mono = toMono(*audio);
            const size_t beat = size_t(audio->rate / rate);
            double all = 0, held = 0;
            for (size_t i = 0; i < mono.size(); ++i)
                all += double(mono[i]) * mono[i], held += i < beat ? double(mono[i]) * mono[i] : 0;
            if (all > 0)
                shares.push_back(held / all), whole += held / all >= 0.9;
            if (rate == 6)
                lengths.push_back(double(mono.size()) / audio->rate);
        }
        std::printf("%s at %d morae/s: median %.0f %% of a mora's energy within its beat; %d of %zu morae at least 90 %%\n",
                    qPrintable(folder), rate, 100 * median(shares), whole, shares.size());
    }
    std::printf("%s: median mora length %.3f s\n", qPrintable(folder), median(lengths));
}

// Megabytes of the files in a dictionary folder (links followed).
double folderMb(const QString &folder)
{
    double bytes = 0;
    for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files))
        bytes += double(QFileInfo(f.canonicalFilePath()).size());
    return bytes / (1024 * 1024);
}

// The labels spell the volitional auxiliary う after an o-sound both ways,
// the same word in the same use: "ー" in ましょう (0082, 0207), やろう
// (0138), でしょう (0155), 歩こう (0197), だろう (0285), 泳ごう (0320); "う" in
// 抑えよう (0121), 高めよう (0129) and だろう (0319). Counted over the whole
// set by aligning the analysis with the labels. Scored apart, as a second
// line: the reading with each mora over that word spelled "う" counts as
// right too. Nothing else is taken as equal; the labels themselves are
// never changed.
QStringList volitionalAsU(const QList<SpokenUnit> &units, const QList<Morpheme> &words)
{
    QStringList out;
    for (const SpokenUnit &u : units) {
        if (u.kind != SpokenUnit::Mora && u.kind != SpokenUnit::Hold && u.kind != SpokenUnit::Sign)
            continue;
        const bool volitional = std::any_of(words.cbegin(), words.cend(), [&](const Morpheme &w) {
            return w.from == u.from && w.surface == u"う" && w.pos() == u"助動詞";
        });
        out << (volitional && u.text == u"お" ? QStringLiteral("う") : u.text);
    }
    return out;
}

struct Accuracy {
    Score rules, rulesEither, plain, plainLong;
    QString all; // the set's sentences, one after another
};

struct Row {
    QString id, text, gold;
    bool heldOut = false; // in the second half of its file
};

QList<Row> readSet(const QString &path)
{
    QList<Row> rows;
    QFile set(path);
    if (!set.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray &line : set.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(u'\t');
        if (f.size() == 3)
            rows.append({f[0], f[1], f[2]});
    }
    for (qsizetype r = rows.size() / 2; r < rows.size(); ++r)
        rows[r].heldOut = true;
    return rows;
}

// The rules were tuned looking at the errors of the first half of each set
// only; the second half is scored as held out.
Accuracy accuracy(const Analyser &analyser, const QList<Row> &rows, bool showErrors, int half)
{
    Accuracy a;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const bool second = rows[r].heldOut;
        if ((half == 1 && second) || (half == 2 && !second))
            continue;
        const Row &row = rows[r];
        a.all += row.text;
        const QStringList gold = comparable(row.gold);
        const QList<SpokenUnit> units = spokenUnits(row.text, &analyser);
        const QStringList ours = spokenMorae(units);
        a.rules.add(ours, gold);
        const QStringList either = volitionalAsU(units, analyser.analyse(row.text));
        a.rulesEither.add(distance(either, gold) < distance(ours, gold) ? either : ours, gold);
        const QString pron = plainPronunciation(row.text, analyser);
        a.plain.add(comparable(pron, false), gold);
        a.plainLong.add(comparable(pron), gold);
        if (showErrors && !second && ours != gold)
            std::printf("%s %s\n  gold  %s\n  ours  %s\n", qPrintable(row.id), qPrintable(row.text), qPrintable(gold.join(u' ')),
                        qPrintable(ours.join(u' ')));
    }
    return a;
}

// The sentences as a user types them in kana: the spoken gold with the
// particles and long vowels written the way the dictionary's reading field
// spells the original text ("わ" -> "は" where it reads ハ, "ー" -> "う" where
// it reads ウ), aligned mora by mora; where the two disagree, the gold.
QString typedKana(const Row &row, const Analyser &analyser)
{
    QString spelled;
    for (const Morpheme &m : analyser.analyse(row.text))
        spelled += toHiragana(m.features.size() > 7 && m.feature(7) != u"*" ? m.feature(7) : m.surface);
    QStringList g, w;
    for (const KanaMora &k : splitMorae(row.gold))
        g << k.mora;
    for (const KanaMora &k : splitMorae(spelled))
        w << k.mora;
    // Edit-distance alignment with its path.
    const qsizetype n = g.size(), m = w.size();
    std::vector<std::vector<qsizetype>> d(size_t(n + 1), std::vector<qsizetype>(size_t(m + 1)));
    for (qsizetype i = 0; i <= n; ++i)
        d[size_t(i)][0] = i;
    for (qsizetype j = 0; j <= m; ++j)
        d[0][size_t(j)] = j;
    for (qsizetype i = 1; i <= n; ++i)
        for (qsizetype j = 1; j <= m; ++j)
            d[size_t(i)][size_t(j)] = std::min({d[size_t(i - 1)][size_t(j)] + 1, d[size_t(i)][size_t(j - 1)] + 1,
                                                d[size_t(i - 1)][size_t(j - 1)] + (g[i - 1] == w[j - 1] ? 0 : 1)});
    QStringList typed = g;
    for (qsizetype i = n, j = m; i > 0 && j > 0;) {
        if (d[size_t(i)][size_t(j)] == d[size_t(i - 1)][size_t(j - 1)] + (g[i - 1] == w[j - 1] ? 0 : 1)) {
            const QString &said = g[i - 1], &written = w[j - 1];
            if ((said == u"わ" && written == u"は") || (said == u"え" && written == u"へ")
                || (said == u"ー" && QStringView(u"あいうえお").contains(written)))
                typed[i - 1] = written;
            --i, --j;
        } else if (d[size_t(i)][size_t(j)] == d[size_t(i - 1)][size_t(j)] + 1) {
            --i;
        } else {
            --j;
        }
    }
    // Put back the pauses of the gold ("、") and the final mark.
    QString out;
    qsizetype k = 0;
    for (const QString &part : row.gold.split(u'、')) {
        if (!out.isEmpty())
            out += u'、';
        for (qsizetype c = splitMorae(part).size(); c > 0 && k < typed.size(); --c)
            out += typed[k++];
    }
    if (!row.text.isEmpty() && QStringView(u"。？！").contains(row.text.back()))
        out += row.text.back();
    return out;
}

void writeKanaSet(const Analyser &analyser, const QString &from, const QString &to)
{
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly))
        return;
    for (const Row &row : readSet(from))
        out.write((row.id + u'\t' + typedKana(row, analyser) + u'\t' + row.gold + u'\n').toUtf8());
}

// One dictionary: size, load, memory and accuracy. Null when it cannot be opened.
std::unique_ptr<Analyser> measure(const QString &folder, bool showErrors, Accuracy *out)
{
    std::printf("\n== %s (%.1f MB installed)\n", qPrintable(folder), folderMb(folder));
    const double before = residentMb(), fileBefore = residentMb("RssFile:");
    QString why;
    QElapsedTimer first;
    first.start();
    std::unique_ptr<Analyser> analyser = Analyser::open(&why, folder);
    const double firstMs = first.nsecsElapsed() / 1e6;
    if (!analyser) {
        std::printf("not opened: %s\n", qPrintable(why));
        return nullptr;
    }
    std::printf("dictionary load, first in this process: %.3f ms\n", firstMs);
    report("dictionary load (open and close again)", timeRuns(11, [&] { QString w; Analyser::open(&w, folder); }));
    const QString sets = QStringLiteral(READING_SETS);
    if (qEnvironmentVariableIsSet("WRITE_KANA_SETS")) {
        writeKanaSet(*analyser, sets + QStringLiteral("/jsut_basic5000.tsv"), sets + QStringLiteral("/jsut_basic5000_kana.tsv"));
        writeKanaSet(*analyser, sets + QStringLiteral("/loanwords.tsv"), sets + QStringLiteral("/loanwords_kana.tsv"));
    }
    QList<Row> mixed = readSet(sets + QStringLiteral("/jsut_basic5000.tsv")), kana = readSet(sets + QStringLiteral("/jsut_basic5000_kana.tsv"));
    const QList<Row> loans = readSet(sets + QStringLiteral("/loanwords.tsv")), loansKana = readSet(sets + QStringLiteral("/loanwords_kana.tsv"));
    const struct {
        const char *name;
        QList<Row> rows;
    } kinds[] = {{"mixed text (JSUT + loan words)", mixed + loans}, {"typed kana (the same, as typed)", kana + loansKana}};
    for (const auto &kind : kinds) {
        for (int half : {0, 1, 2}) {
            const Accuracy a = accuracy(*analyser, kind.rows, showErrors && half == 1, half);
            std::printf("-- %s, %s\n", kind.name, half == 0 ? "all" : half == 1 ? "first half (looked at)" : "second half (held out)");
            a.plain.print("dictionary pronunciation field (plain)");
            a.plainLong.print("  the same with \"ー\" and \"を\" as spoken");
            a.rules.print("spoken reading (the rules)");
            a.rulesEither.print("  the same, volitional う either way");
            if (half == 0 && kind.name == kinds[0].name)
                *out = a;
        }
    }
    const QString text = out->all.left(2000);
    report("analysing 2,000 characters (spokenUnits)", timeRuns(21, [&] { spokenUnits(text, analyser.get()); }));
    std::printf("resident memory added with the set read: %.1f MB (of it %.1f MB mapped files)\n", residentMb() - before,
                residentMb("RssFile:") - fileBefore);
    return analyser;
}

} // namespace

// build/bench/bench_reading [--errors] [FOLDER...]: the dictionaries in the
// FOLDERs (else every packaged one installed), then speed and beat with the
// one the program uses.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool showErrors = args.removeAll(QStringLiteral("--errors")) > 0;
    const QStringList folders = !args.isEmpty() ? args
                                                : QStringList{Analyser::defaultFolder(), QStringLiteral("/var/lib/mecab/dic/naist-jdic"),
                                                              QStringLiteral("/var/lib/mecab/dic/unidic")};
    for (const QString &folder : folders.mid(1)) {
        Accuracy a;
        measure(folder, showErrors, &a);
    }
    // The program's own last, so that the memory figures below are its alone.
    const double before = residentMb(), fileBefore = residentMb("RssFile:");
    Accuracy a;
    const std::unique_ptr<Analyser> analyser = measure(folders.first(), showErrors, &a);
    if (!analyser)
        return 1;
    const QString all = a.all, text = all.left(2000);
    QString big;
    while (big.size() < 50'000)
        big += all;
    std::printf("\n== the program's dictionary: speed and beat\n");
    report("analysing 50,000 characters", timeRuns(5, [&] { spokenUnits(big.left(50'000), analyser.get()); }));
    std::printf("resident memory after 50,000 characters: %.1f MB (added %.1f MB, of it %.1f MB mapped files)\n", residentMb(),
                residentMb() - before, residentMb("RssFile:") - fileBefore);
    // From "読む" to the timeline handed to the output, for 2,000
    // characters: analysis, layout, and each distinct sound looked up in the
    // default set the build records.
    const QString voices = QCoreApplication::applicationDirPath() + QStringLiteral("/../voices");
    QtWavePlayer player;
    const SoundLookup inSet = [&](const QString &name) -> std::optional<QString> {
        const QString path = voices + u'/' + name + QStringLiteral(".wav");
        return QFileInfo::exists(path) ? std::optional(path) : std::nullopt;
    };
    report("2,000 characters: analysis to playing timeline", timeRuns(21, [&] {
        const SpokenTimeline line = spokenTimeline(spokenUnits(text, analyser.get()), 6, inSet);
        player.playTimeline(line.cues, line.endFrame);
        player.close();
    }));
    for (int rate : {6, 10})
        beat(rate);
    // BENCH_VOICES=folder:folder... compares sound sets ("build/voices" and
    // a set made afresh with make-voices).
    for (const QString &folder : qEnvironmentVariable("BENCH_VOICES").split(u':', Qt::SkipEmptyParts))
        energyWithinBeat(folder);
    return 0;
}

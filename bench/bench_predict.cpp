// How much prediction saves one imagined user (bench/data/predict-user.txt):
// five random splits of 200 sentences of history and 30 to say. A simulated
// user types each sentence's kana and, whenever a candidate is offered that
// the sentence begins with and that adds at least two kana, takes the
// longest such one. Printed per number of candidates shown, medians over the
// splits:
//   savings   1 - (kana typed + candidates taken) / kana of the sentence
//   touches   per sentence under the default touch rule: a board cell opens
//             the enlarged screen (1), whose row of candidates or grid cell
//             takes the pick (1); changing the board mode costs 1 a step
//   switch    seconds per sentence with one switch at the default timings
//             (a step of 1 s, the first of a level 1.5 s), the press made
//             half a second into the highlight, the voice of each pick
//             waited for (0.5 s); candidates the enlarged screen's first group
// Prediction is measured three ways: the user's history with the model,
// the model alone, and the model with the sentences a fresh installation's
// Talk.txt starts with (what a user with no history of her own has).
// Then the time a touch waits for its candidates at 30,000 sentences of
// history, and the memory the history and the mapped model take.
//
//   build/bench/bench_predict            (all figures)
//   build/bench/bench_predict savings    (the savings alone)

#include "BenchUtil.h"
#include "board/BoardLayout.h"
#include "board/Neighbourhood.h"
#include "predict/BlendPredictor.h"
#include "predict/HistoryModel.h"
#include "predict/KanaFold.h"
#include "predict/PackagedModel.h"
#include "reading/Dictionary.h"
#include "samples/SampleFile.h"

#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

#include <cstdio>
#include <ctime>
#include <map>

using namespace kel;

namespace {

constexpr int kSplits = 5, kHistory = 200, kTest = 30;
constexpr double kStep = 1.0, kFirst = 1.5, kReaction = 0.5, kVoice = 0.5;
constexpr int kBoardCols = 10;

struct Place {
    BoardMode mode;
    int row, col;
};

// Where each character's plain cell is on the 10-column boards.
const QHash<QChar, Place> &places()
{
    static const QHash<QChar, Place> map = [] {
        QHash<QChar, Place> m;
        for (BoardMode mode : {BoardMode::Hiragana, BoardMode::Katakana}) {
            for (int r = 0; r < kBoardRows; ++r) {
                for (int c = 0; c < kBoardCols; ++c) {
                    const QString t = boardCellText(mode, kBoardCols - 1, r, c);
                    if (t.size() == 1 && !m.contains(t[0]))
                        m.insert(t[0], {mode, r, c});
                }
            }
        }
        return m;
    }();
    return map;
}

// The plain cell a character is reached from (katakana stays katakana).
QChar plainCell(QChar c)
{
    const QChar f = foldKana(c);
    if (c >= QChar(u'ァ') && c <= QChar(u'ヶ') && c != QChar(u'ヴ'))
        return QChar(char16_t(f.unicode() + (u'ァ' - u'ぁ')));
    return f;
}

// Seconds until the press that takes index `i` of a level.
double pick(int i)
{
    return (i == 0 ? 0.0 : kFirst + (i - 1) * kStep) + kReaction;
}

struct Cost {
    int keys = 0, kana = 0, touches = 0;
    double seconds = 0;
};

// Steps of the board-mode button from one mode to another ("ひら" -> "カタ"
// -> "英数" -> "ひら").
int modeSteps(BoardMode from, BoardMode to)
{
    const int a = int(from), b = int(to);
    return (b - a + 3) % 3;
}

Cost say(const QString &target, const Predictor *p, int count)
{
    Cost cost;
    cost.kana = int(target.size());
    const auto bestTake = [&](const QString &typed, const QString &context) -> QString {
        if (!p)
            return {};
        QString best;
        for (const Candidate &c : p->predict(context, count)) {
            if (target.startsWith(c.text) && c.text.size() >= typed.size() + 2 && c.text.size() > best.size())
                best = c.text;
        }
        return best;
    };
    // Keystrokes: candidates offered after every pick.
    for (QString typed; typed.size() < target.size();) {
        const QString take = bestTake(typed, typed);
        ++cost.keys;
        typed = take.isEmpty() ? typed + target[typed.size()] : take;
    }
    // Touches and switch time: candidates in the enlarged screen.
    BoardMode mode = BoardMode::Hiragana;
    for (QString typed; typed.size() < target.size();) {
        const QChar ch = target[typed.size()];
        const QChar cell = plainCell(ch);
        const Place at = places().value(cell, Place{BoardMode::Hiragana, 0, 9});
        if (at.mode != mode) {
            const int steps = modeSteps(mode, at.mode);
            cost.touches += steps;
            // "文字" is the second item of the eleventh group after the board.
            cost.seconds += steps * (pick(kBoardCols + 1) + pick(1));
            mode = at.mode;
        }
        ++cost.touches;
        cost.seconds += pick(kBoardCols - 1 - at.col) + pick(at.row) + kVoice;
        const QString take = bestTake(typed, typed + cell);
        ++cost.touches;
        // The enlarged screen: candidates first (when there are any), then
        // the grid's rows that hold any text, then "戻る".
        const bool shown = p && !p->predict(typed + cell, count).isEmpty();
        if (!take.isEmpty()) {
            cost.seconds += pick(0) + pick(0); // the candidates' group, then the longest is the one taken
            typed = take;
            continue;
        }
        const Cells3x3 z = pickBoardCell(
            [&](int r, int c) { return boardCellText(mode, kBoardCols - 1, r, c); }, at.col, at.row);
        int group = shown ? 1 : 0;
        for (int r = 0; r < 3; ++r) {
            int item = 0;
            bool any = false;
            for (int c = 0; c < 3; ++c) {
                if (z[r][c].isEmpty())
                    continue;
                any = true;
                if (z[r][c] == QString(ch)) {
                    cost.seconds += pick(group) + pick(item) + kVoice;
                    r = 3;
                    break;
                }
                ++item;
            }
            if (any)
                ++group;
        }
        typed += ch;
    }
    return cost;
}

struct Figures {
    std::vector<double> savings, touches, seconds;
};

void addRun(Figures &f, const QStringList &tests, const Predictor *p, int count)
{
    Cost total;
    for (const QString &t : tests) {
        const Cost c = say(t, p, count);
        total.keys += c.keys;
        total.kana += c.kana;
        total.touches += c.touches;
        total.seconds += c.seconds;
    }
    f.savings.push_back(100.0 * (1.0 - double(total.keys) / total.kana));
    f.touches.push_back(double(total.touches) / tests.size());
    f.seconds.push_back(total.seconds / tests.size());
}

void print(const char *what, int count, const Figures &f)
{
    std::printf("%-22s Count %d  savings %5.1f %%  touches %5.1f  one switch %6.1f s\n", what, count,
                bench::median(f.savings), bench::median(f.touches), bench::median(f.seconds));
}

// The time 99 touches in 100 wait at most: on a shared machine the single
// slowest one says more about the machine than about the code.
void reportWithTail(const char *what, std::vector<double> ms)
{
    bench::report(what, ms);
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s 99th percentile %.3f ms\n", "", ms[ms.size() * 99 / 100]);
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Resident memory of the process's own (anonymous) pages: the mapped
// model files are shared with the page cache and not counted.
long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith("RssAnon:"))
            return line.mid(8).trimmed().split(' ').first().toLong();
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool savingsOnly = argc > 1 && QByteArray(argv[1]) == "savings";
    QFile file(QStringLiteral(PREDICT_SET));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "no %s\n", PREDICT_SET);
        return 1;
    }
    QStringList sentences;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (!line.trimmed().isEmpty() && !line.startsWith(u'#'))
            sentences << line.trimmed();
    }
    Dictionary::shared().waitUntilReady();
    const Analyser *analyser = Dictionary::shared().analyser();
    QList<KanaSentence> kana;
    for (const QString &s : sentences)
        kana << kanaSentence(s, analyser);

    const long before = rssKb();
    QString why;
    const std::unique_ptr<PackagedModel> packaged = PackagedModel::open(PackagedModel::defaultFolder(), &why);
    if (!packaged)
        std::printf("no packaged model: %s\n", qPrintable(why));
    std::printf("%zu sentences, splits of %d history / %d said\n", size_t(sentences.size()), kHistory, kTest);

    HistoryModel starters;
    QList<KanaSentence> starterKana;
    for (const QString &s : everydaySentences())
        starterKana << kanaSentence(s, analyser);
    starters.learn(starterKana);
    const BlendPredictor withStarters(&starters, packaged.get());

    std::map<int, Figures> off, blend, modelOnly, modelStarters;
    for (int split = 0; split < kSplits; ++split) {
        QList<int> order(kana.size());
        for (int i = 0; i < order.size(); ++i)
            order[i] = i;
        QRandomGenerator rng(quint32(split + 1));
        for (qsizetype i = order.size() - 1; i > 0; --i)
            std::swap(order[i], order[rng.bounded(int(i + 1))]);
        HistoryModel history;
        QList<KanaSentence> learned;
        for (int i = 0; i < kHistory; ++i)
            learned << kana[order[i]];
        history.learn(learned);
        QStringList tests;
        for (int i = kHistory; i < kHistory + kTest; ++i)
            tests << kana[order[i]].kana;
        const BlendPredictor withHistory(&history, packaged.get());
        const BlendPredictor withoutHistory(nullptr, packaged.get());
        for (int count : {1, 3, 5, 8}) {
            addRun(off[count], tests, nullptr, count);
            addRun(blend[count], tests, &withHistory, count);
            addRun(modelOnly[count], tests, &withoutHistory, count);
            addRun(modelStarters[count], tests, &withStarters, count);
        }
    }
    print("off (baseline)", 5, off[5]);
    for (int count : {1, 3, 5, 8})
        print("history + model", count, blend[count]);
    for (int count : {1, 3, 5, 8})
        print("model only", count, modelOnly[count]);
    for (int count : {1, 3, 5, 8})
        print("model + starters", count, modelStarters[count]);
    if (savingsOnly)
        return 0;

    // Latency at 30,000 sentences: the user's sentences joined in pairs.
    HistoryModel big;
    QList<KanaSentence> many;
    QRandomGenerator rng(7);
    const long beforeHistory = rssKb();
    while (many.size() < 30000) {
        const KanaSentence &a = kana[rng.bounded(int(kana.size()))];
        const KanaSentence &b = kana[rng.bounded(int(kana.size()))];
        KanaSentence s{a.kana + QStringLiteral("、") + b.kana, a.starts, a.words};
        for (qsizetype at : b.starts)
            s.starts << a.kana.size() + 1 + at;
        for (qsizetype at : b.words)
            s.words << a.kana.size() + 1 + at;
        many << s;
    }
    std::vector<double> load = bench::timeRuns(1, [&] { big.learn(many); });
    bench::report("learning 30,000 sentences", load);
    const BlendPredictor bigBlend(&big, packaged.get());
    std::vector<double> ms, cpu;
    for (const KanaSentence &s : kana) {
        for (qsizetype n = 1; n <= s.kana.size(); ++n) {
            const QString context = s.kana.left(n);
            const std::vector<double> one = bench::timeRuns(1, [&] { bigBlend.predict(context, 8); });
            ms.push_back(one.front());
            const double before = threadCpuMs();
            bigBlend.predict(context, 8);
            cpu.push_back(threadCpuMs() - before);
        }
    }
    reportWithTail("candidates after a touch, 30,000 sentences, Count 8", ms);
    reportWithTail("  the same, processor time (what a busy machine adds aside)", cpu);
    std::vector<double> own, model;
    for (const KanaSentence &s : kana) {
        for (qsizetype n = 1; n <= s.kana.size(); ++n) {
            const QString context = s.kana.left(n);
            own.push_back(bench::timeRuns(1, [&] { big.predict(context, 8); }).front());
            if (packaged)
                model.push_back(bench::timeRuns(1, [&] { packaged->predict(context, 8); }).front());
        }
    }
    reportWithTail("  of which the history", own);
    if (packaged)
        reportWithTail("  of which the packaged model", model);
    std::printf("memory beside the mapped files: model opened %+ld kB, history of 30,000 sentences %+ld kB\n",
                beforeHistory - before, rssKb() - beforeHistory);
    return 0;
}

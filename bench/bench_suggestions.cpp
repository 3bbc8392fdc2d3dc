// The suggestions offered while typing, with 30,000 sentences in memory:
// from a picked character's insertion (PutText and OfferSuggestions on the
// real main window) until the list is painted over the board. Two keys: one
// that 5 sentences begin with, and a one-character key that 5,000 begin
// with. Prints medians in milliseconds.
//
// Run by hand: bench_suggestions [runs]

#include "BenchUtil.h"
#include "compose/Composer.h"
#include "support/TalkFixture.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>
#include <QLabel>
#include <cstdio>
#include <random>

using namespace kel;

namespace {

constexpr int kSentences = 30'000;
constexpr int kBeginWithA = 5'000;   // "あ..."
constexpr int kBeginWithNuNu = 5;    // "ぬぬ..."

// Sentences of 4 to 24 characters. Exactly kBeginWithA begin with "あ" and
// exactly kBeginWithNuNu with "ぬぬ"; no other sentence begins with "あ" or
// "ぬ". They are spread through the list, as a user's would be.
QStringList makeSentences()
{
    const QString pool = QStringLiteral(
        "いうえおかきくけこさしすせそたちつてとなにねのはひふへほまみむめもやゆよらりるれろわをん"
        "がぎぐげござじずぜぞだでどばびぶべぼぱぴぷぺぽっゃゅょ水食事薬手足頭痛寒暑今日明朝。、");
    std::mt19937 rng(20040925);
    std::uniform_int_distribution<int> length(4, 24);
    std::uniform_int_distribution<int> pick(0, int(pool.size()) - 1);
    QStringList sentences;
    sentences.reserve(kSentences);
    for (int i = 0; i < kSentences; ++i) {
        QString s;
        if (i % (kSentences / kBeginWithA) == 0)
            s = QStringLiteral("あ");
        else if (i % (kSentences / kBeginWithNuNu) == 1)
            s = QStringLiteral("ぬぬ");
        const int n = length(rng);
        for (int k = 0; k < n; ++k)
            s += pool.at(pick(rng));
        sentences << s;
    }
    return sentences;
}

// Picks `c` after `before` (the caret before the marker) the way the board
// does, up to the painted list; returns the rows listed.
int pickAndShow(TalkFixture &fx, const QString &c)
{
    fx.ui().txtHide->setText(c);
    fx.win->composer().PutText();
    fx.win->composer().OfferSuggestions(fx.box()->text());
    fx.box()->setFocus();
    if (fx.box()->selLength() == 0)
        fx.win->composer().sendKeys(QStringLiteral("+{RIGHT}"));
    QCoreApplication::processEvents();
    fx.ui().frmTalk->repaint();
    return fx.ui().grdSp->Rows() - 1;
}

void measure(TalkFixture &fx, int runs, const char *what, const QString &before, const QString &c,
             int expected)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        // Back to the board with `before` typed, outside the timing.
        fx.ui().grdSp->hide();
        fx.ui().fraTalk->hide();
        fx.ui().grdBoard->show();
        fx.ui().fraRes->show();
        fx.setText(before, before.size() - 1, 1);
        QCoreApplication::processEvents();
        fx.ui().frmTalk->repaint();

        int listed = 0;
        ms.push_back(bench::timeRuns(1, [&] { listed = pickAndShow(fx, c); }).front());
        if (listed != expected || !fx.ui().grdSp->isVisible()) {
            std::printf("%s: listed %d sentences, expected %d\n", what, listed, expected);
            std::exit(1);
        }
    }
    bench::report(what, ms);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR"))
        qputenv("QT_QPA_FONTDIR", "/usr/share/fonts");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 51;

    TalkFixture fx;
    fx.st().SampleChars = 2;
    fx.st().Samples = makeSentences();

    measure(fx, runs, "key \"ぬぬ\" (5 of 30,000 sentences)", QStringLiteral("ぬ_"),
            QStringLiteral("ぬ"), kBeginWithNuNu);
    measure(fx, runs, "key \"あ\" (5,000 of 30,000 sentences)", QStringLiteral("_"),
            QStringLiteral("あ"), kBeginWithA);
    return 0;
}

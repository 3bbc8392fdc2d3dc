// The first opening of each screen in a window just started, at 1920x1080
// (full screen on such a display): the press that opens it, the handler and
// the repaint of what changed, as the user waits for it. Each run starts a window of its
// own, so every opening is a first one. Prints medians; one frame is 16 ms.
#include "BenchUtil.h"
#include "samples/SampleDriving.h"

#include <QApplication>

using namespace kel;

namespace {

// The steps to each screen; the last one is the opening timed.
const std::vector<std::pair<const char *, QStringList>> kScreens{
    {"enlarged", {"#2,5"}},
    {"suggestions", {"+か"}},
    {"example list", {"例文表示"}},
    {"diary list", {"例文表示", "決定"}},
    {"entry open", {"例文表示", "決定", "決定"}},
    {"revising", {"例文表示", "決定", "決定", "修正する"}},
    {"revising with suggestions", {"例文表示", "決定", "決定", "修正する", "+か"}},
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::map<QString, QByteArray> files{{kSampleFileName, records({kPlaceholder, "かさ", "かばん"})},
                                              {QStringLiteral("day.txt"), records({"04.09.24 あさ"})}};
    constexpr int kRuns = 9;
    for (const auto &[name, steps] : kScreens) {
        std::vector<double> ms;
        for (int i = 0; i < kRuns; ++i) {
            // The enlarged screen opens under the first touch rule; the
            // others enter a touched character at once.
            TalkFixture f(std::map<QString, QString>{{"OPT1", std::string(name) == "enlarged" ? "0" : "2"}}, files);
            f.win->resize(1920, 1080);
            settle();
            play(f, steps.mid(0, steps.size() - 1));
            f.win->repaint();
            QElapsedTimer t;
            t.start();
            // play() lets the events through, the repaint of what changed
            // among them.
            play(f, steps.mid(steps.size() - 1));
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        bench::report(qPrintable(QStringLiteral("first opening at 1920x1080: %1").arg(name)), ms);
    }
    return 0;
}

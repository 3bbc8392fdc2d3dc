// Touching the board: a press repainting up to 75 cells, and a release
// drawing the enlarged screen (the voice pause runs on a clock that does
// not wait). Pending paints are flushed before each timed touch.
#include "BenchUtil.h"
#include "support/TalkFixture.h"

using namespace kel;

namespace {

void measure(TalkFixture &fx, const char *label)
{
    constexpr int kRuns = 101;
    FlexGrid *b = fx.ui().grdBoard;
    std::vector<double> press, release;
    for (int i = 0; i < kRuns; ++i) {
        const int col = 5 + i % 10;
        settle();
        press.push_back(bench::timeRuns(1, [&] {
            pressCell(b, 2, col);
            settle();   // paints what the press changed
        })[0]);
        release.push_back(bench::timeRuns(1, [&] {
            releaseCell(b, 2, col);
            settle();   // paints the enlarged screen
        })[0]);
        fx.ui().fraSet->hide();
    }
    std::printf("%s\n", label);
    bench::report("  press on the board (75 cells) painted", press);
    bench::report("  release to the enlarged screen painted", release);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TalkFixture fx({{"gMaxC", "14"}});
    measure(fx, "design size 786 x 544:");
    fx.win->resize(1920, 1080);
    measure(fx, "full screen 1920 x 1080:");
    return 0;
}

// Voice timing: from a touch to the player's start call, and the pace of a
// 100-character reading on the real clock.
#include "BenchUtil.h"
#include "support/TalkFixture.h"

#include <QElapsedTimer>

using namespace kel;

namespace {

// Notes the moment of every start call on the real monotonic clock.
class TimingPlayer final : public WavePlayer {
public:
    void play(const QString &) override { starts.push_back(clock.now()); }
    void close() override {}
    SteadyClock clock;
    std::vector<Nanos> starts;
};

double ms(Nanos d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    constexpr int kRuns = 51;
    {
        TalkFixture fx({{"OPT1", "2"}});
        TimingPlayer timing;
        fx.win->talk().sv.player = &timing;
        fx.addVoices({"あ"});
        SteadyClock steady;
        std::vector<double> readLatency, boardLatency;
        for (int i = 0; i < kRuns; ++i) {
            fx.setText(QStringLiteral("あ"), 0);
            timing.starts.clear();
            QTest::mousePress(fx.ui().cmdRead, Qt::LeftButton);
            const Nanos pressed = steady.now();
            QTest::mouseRelease(fx.ui().cmdRead, Qt::LeftButton);
            readLatency.push_back(ms(timing.starts.at(0) - pressed));

            timing.starts.clear();
            FlexGrid *b = fx.ui().grdBoard;
            pressCell(b, 0, 9);
            const Nanos released = steady.now();
            releaseCell(b, 0, 9);
            boardLatency.push_back(ms(timing.starts.at(0) - released));
        }
        bench::report("press of 読む to the player's start call", readLatency);
        bench::report("board release to the player's start call", boardLatency);
    }
    if (!QCoreApplication::arguments().contains(QStringLiteral("--quick"))) {
        // The real clock: 100 characters take 80 seconds.
        TalkFixture fx;
        TimingPlayer timing;
        SteadyClock steady;
        fx.win->talk().sv.clock = &steady;
        fx.win->talk().sv.player = &timing;
        QString text;
        for (int i = 0; i < 100; ++i)
            text += QChar(u'あ' + (i % 40));
        QStringList voices;
        for (QChar c : text)
            voices << QString(c);
        fx.addVoices(voices);
        fx.setText(text, 0);
        TalkFixture::click(fx.ui().cmdRead);
        double worst = 0;
        std::vector<double> steps;
        for (size_t i = 1; i < timing.starts.size(); ++i) {
            const double step = ms(timing.starts[i] - timing.starts[i - 1]);
            steps.push_back(step);
            worst = std::max(worst, std::abs(step - 800.0));
        }
        const double total = ms(timing.starts.back() - timing.starts.front());
        std::printf("reading 100 characters: %zu starts, median step %.3f ms, worst deviation %.3f ms, "
                    "first-to-last %.1f ms (ideal %.1f, drift %.1f ms)\n",
                    timing.starts.size(), bench::median(steps), worst, total, 800.0 * 99, total - 800.0 * 99);
    }
    return 0;
}

// The times the tests leave out, because a busy machine stretches them:
//   - filling a grid with 40,000 rows and scrolling to its end (a frozen
//     window, seconds, is the fault to look for; it took under 3 s before);
//   - the real player where no audio server answers: one play call, and its
//     shutdown (a reading must not wait on a missing server);
//   - from SIGTERM to the end of the program, and of a program whose main
//     thread is stuck at its end (the bounded end: under 2 s).
// Run by hand: QT_QPA_PLATFORM=offscreen bench/bench_limits [runs]
#include "BenchUtil.h"
#include "speech/QtWavePlayer.h"
#include "support/AudioCapture.h"
#include "widgets/FlexGrid.h"
#include "widgets/TwipsLayout.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>

using namespace kel;

namespace {

double msUntilEndOnSigterm(const QString &program, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, {});
    if (!p.waitForStarted())
        return -1;
    QThread::msleep(1500); // running, its window shown
    QElapsedTimer t;
    t.start();
    ::kill(pid_t(p.processId()), SIGTERM);
    p.waitForFinished(10'000);
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before the audio backend starts: no server answers.
    qputenv("PULSE_SERVER", "unix:/nonexistent/kelvoran-no-audio");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    TwipsMap map;
    bench::report("grid: 40,000 rows filled, scrolled to the end", bench::timeRuns(runs, [&map] {
        FlexGrid grid(map, FlexGrid::RowHeights::FromFont);
        grid.resize(400, 300);
        grid.setCols(3);
        grid.show();
        grid.setRedraw(false);
        grid.setRows(40000);
        for (int r = 0; r < 40000; ++r)
            grid.setTextMatrix(r, 1, QString::number(r));
        grid.setRedraw(true);
        grid.setTopRow(40000 - 10);
        QCoreApplication::processEvents();
    }));

    QTemporaryDir dir;
    const QString tone = dir.filePath(QStringLiteral("a.wav"));
    test::writeFile(tone, test::toneWav(440, 1.0));
    std::vector<double> play, shutdown;
    for (int i = 0; i < runs; ++i) {
        auto player = std::make_unique<QtWavePlayer>();
        play.push_back(bench::timeRuns(1, [&] { player->play(tone); }).front());
        QThread::msleep(150);
        shutdown.push_back(bench::timeRuns(1, [&] { player->close(); player.reset(); }).front());
    }
    bench::report("player without audio server: play", play);
    bench::report("player without audio server: close and shut down", shutdown);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
    env.insert(QStringLiteral("KELVORAN_HOME"), dir.path());
    const QString here = QCoreApplication::applicationDirPath();
    for (const auto &[what, program] : {std::pair{"SIGTERM to the end: kelvoran", here + "/../kelvoran"},
                                        std::pair{"SIGTERM to the end: main thread stuck at exit",
                                                  here + "/../tests/app/stuck_at_exit"}}) {
        std::vector<double> ms;
        for (int i = 0; i < runs; ++i)
            ms.push_back(msUntilEndOnSigterm(program, env));
        bench::report(what, ms);
    }
    return 0;
}

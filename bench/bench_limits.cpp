// The times the tests leave out, because a busy machine stretches them:
//   - filling a grid with 40,000 rows and scrolling to its end (a frozen
//     window, seconds, is the fault to look for; it took under 3 s before);
//   - the real player where no audio server answers: one play call, and its
//     shutdown (a reading must not wait on a missing server);
//   - from SIGTERM to the end of the program, and of a program whose main
//     thread is stuck at its end (the bounded end: under 2 s), and of one
//     reading a long text aloud (under 0.5 s);
//   - what the knock socket costs the running window: a second start to its
//     end and its peak memory, a knock behind a flood of idle connections,
//     and the window's resident memory after 500 MB sent without a line end.
// Run by hand: QT_QPA_PLATFORM=offscreen bench/bench_limits [runs]
#include "BenchUtil.h"
#include "base/KnockSocket.h"
#include "speech/QtWavePlayer.h"
#include "support/AudioCapture.h"
#include "support/ReadUntilEnded.h"
#include "support/UnixSocket.h"
#include "widgets/FlexGrid.h"
#include "widgets/TwipsLayout.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kel;
using kel::test::connectTo;

namespace {

double msUntilEndOnSigterm(const QString &program, const QProcessEnvironment &env, const QStringList &args = {})
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted())
        return -1;
    QThread::msleep(1500); // running, its window shown (reading, for the reading child)
    QElapsedTimer t;
    t.start();
    ::kill(pid_t(p.processId()), SIGTERM);
    p.waitForFinished(10'000);
    return t.nsecsElapsed() / 1e6;
}

long residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// A running copy and what reaches its data folder's socket.
void knockFigures(const QString &program, const QProcessEnvironment &env, const QString &data, int runs)
{
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    const QString socket = data + QStringLiteral("/.kelvoran.socket");
    while (kel::knockOn(socket, 100) != kel::Knock::Answered)
        QThread::msleep(100);
    std::vector<double> second, flooded;
    long secondPeak = 0;
    for (int i = 0; i < runs; ++i) {
        second.push_back(bench::timeRuns(1, [&] {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(program, {});
            p.waitForFinished(30'000);
        }).front());
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        secondPeak = std::max(secondPeak, usage.ru_maxrss);
        std::vector<int> idle;
        for (int c = 0; c < 200; ++c)
            if (const int fd = connectTo(socket); fd >= 0)
                idle.push_back(fd);
        flooded.push_back(bench::timeRuns(1, [&] { kel::knockOn(socket, 10'000); }).front());
        for (int fd : idle)
            ::close(fd);
    }
    bench::report("second start while a copy runs, to its end", second);
    std::printf("  peak memory of any child so far (the second starts among them): %.1f MB\n", secondPeak / 1024.0);
    bench::report("a knock behind 200 idle connections", flooded);
    const long before = residentKb(first.processId());
    const QByteArray chunk(1 << 20, 'r');
    qint64 sent = 0;
    for (int c = 0; c < 500; ++c) {
        const int fd = connectTo(socket);
        const ssize_t n = ::send(fd, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
        sent += std::max<ssize_t>(0, n);
        ::close(fd);
    }
    std::printf("500 x 1 MB sent without a line end (%.1f MB taken by the sockets): window resident %.1f -> %.1f MB\n",
                sent / 1048576.0, before / 1024.0, residentKb(first.processId()) / 1024.0);
    first.terminate();
    first.waitForFinished(10'000);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && std::strcmp(argv[1], "--read-until-ended") == 0)
        return kel::test::readUntilEnded(argc, argv);
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
    std::vector<double> reading;
    for (int i = 0; i < runs; ++i)
        reading.push_back(msUntilEndOnSigterm(QCoreApplication::applicationFilePath(), env,
                                              {QStringLiteral("--read-until-ended"), dir.path()}));
    bench::report("SIGTERM to the end: reading a long text aloud", reading);
    knockFigures(here + "/../kelvoran", env, dir.path(), runs);
    return 0;
}

// Cold start to the window shown (offscreen), against a bare Qt window
// started the same way, and the program's peak memory; then the caregiver's
// `bash tools/run` with nothing changed since its last build. Prints medians.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

namespace {

struct Run {
    double ms;
    long peakKb;
};

Run runOnce(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(30000);
    const double ms = t.nsecsElapsed() / 1e6;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);   // the largest child so far
    return {ms, usage.ru_maxrss};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    QTemporaryDir home;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("KELVORAN_HOME", home.path().toLocal8Bit());
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    constexpr int kRuns = 21;
    std::vector<double> bare, labelled, program, script;
    const QString run = QStringLiteral(KEL_SOURCE_DIR "/tools/run");
    QProcess::execute("bash", {run, "--quit-when-shown"});   // builds what changed, once
    // The bare window's peak first: RUSAGE_CHILDREN keeps the largest child.
    const long barePeak = runOnce(dir + "/bare_window", {"--label"}, env).peakKb;
    long peak = 0;
    for (int i = 0; i < kRuns; ++i) {   // interleaved, so all three see the same machine
        bare.push_back(runOnce(dir + "/bare_window", {}, env).ms);
        labelled.push_back(runOnce(dir + "/bare_window", {"--label"}, env).ms);
        const Run r = runOnce(dir + "/../kelvoran", {"--quit-when-shown"}, env);
        program.push_back(r.ms);
        peak = std::max(peak, r.peakKb);
        script.push_back(runOnce("bash", {run, "--quit-when-shown"}, env).ms);
    }
    const double b = median(bare), l = median(labelled), p = median(program);
    std::printf("start-up to window shown, median of %d runs:\n", kRuns);
    std::printf("  kelvoran                       %6.1f ms\n", p);
    std::printf("  bare Qt window                 %6.1f ms  (ratio %.2f)\n", b, p / b);
    std::printf("  bare window with one text line %6.1f ms  (ratio %.2f)\n", l, p / l);
    std::printf("  bash tools/run, nothing changed %6.1f ms\n", median(script));
    std::printf("peak memory: kelvoran %.1f MB (bare window with text %.1f MB)\n", peak / 1024.0,
                barePeak / 1024.0);
    return 0;
}

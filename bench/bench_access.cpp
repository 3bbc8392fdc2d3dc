// Switch scanning and dwell on the real clock: how evenly the automatic
// highlight steps (200 steps of 300 ms), what moving the highlight costs to
// repaint on a 1920 x 1080 window, what taking a dialog's scan groups costs
// (done at every poll while a dialog is open), and what dwell adds to a
// pointer move.
#include "BenchUtil.h"
#include "access/AccessControl.h"
#include "access/AccessOverlay.h"
#include "access/AccessSettingsPage.h"
#include "app/FrmOPT.h"
#include "app/FrmTalk.h"
#include "base/SettingsStore.h"
#include "fakes/RecordingPlayer.h"
#include "support/TalkFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

using namespace kel;

namespace {

struct RealWindow {
    explicit RealWindow(const QStringList &access)
    {
        installFontSubstitutions();
        store = std::make_unique<SettingsStore>(config.path() + QStringLiteral("/Talk.ini"));
        for (const QString &kv : access)
            store->saveIn(QStringLiteral("ACCESS"), kv.section(u'=', 0, 0), kv.section(u'=', 1));
        Services sv{&clock, &player, &platform, store.get(), [] { return QDate::currentDate(); }};
        win = std::make_unique<FrmTalk>(sv);
        win->Form_Load(home.path());
        win->show();
        QCoreApplication::processEvents();
    }
    QTemporaryDir home, config;
    SteadyClock clock;
    RecordingPlayer player;
    RecordingPlatform platform;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<FrmTalk> win;
};

void space(QWidget *w)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(w, &down);
    QApplication::sendEvent(w, &up);
}

void scanJitter(int steps)
{
    RealWindow rw({"Scan=1", "ScanStep=300", "ScanRounds=5", "SwitchLock=0"});
    AccessControl &a = rw.win->access();
    space(rw.win.get());
    std::vector<double> jitter;
    int seen = a.scanner()->changes();
    int lastIndex = 0;
    Scanner::Level lastLevel = a.scanner()->level();
    QElapsedTimer since;
    since.start();
    QTimer watch;
    QEventLoop loop;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const Scanner &s = *a.scanner();
        if (s.changes() == seen)
            return;
        const double ms = since.nsecsElapsed() / 1e6;
        since.restart();
        seen = s.changes();
        if (s.level() == Scanner::Level::Idle) {
            space(rw.win.get());   // stopped after its rounds: start again
            seen = s.changes();
            lastLevel = s.level();
            lastIndex = 0;
            return;
        }
        if (lastLevel == s.level())
            jitter.push_back(std::abs(ms - (lastIndex == 0 ? 450.0 : 300.0)));
        lastLevel = s.level();
        lastIndex = s.group();
        if (int(jitter.size()) >= steps)
            loop.quit();
    });
    watch.start(0);
    loop.exec();
    bench::report("automatic scan step, |actual - set| (ms)", jitter);
    std::printf("%-58s worst  %8.3f ms\n", "", *std::max_element(jitter.begin(), jitter.end()));
}

void highlightRepaint()
{
    RealWindow rw({"Scan=2", "SwitchLock=0"});
    rw.win->resize(1920, 1080);
    QCoreApplication::processEvents();
    space(rw.win.get());
    QCoreApplication::processEvents();
    AccessOverlay *o = rw.win->access().overlay();
    const ScanScreen &screen = rw.win->access().screen();
    std::vector<double> ms;
    for (int i = 0; i < 200; ++i) {
        const ScanGroup &g = screen.groups[i % screen.groups.size()];
        QCoreApplication::processEvents();
        ms.push_back(bench::timeRuns(1, [&] {
            o->setHighlight(g.rect, false);
            QCoreApplication::processEvents();   // paints what the move changed
        })[0]);
    }
    bench::report("highlight moved and repainted at 1920 x 1080", ms);
    const auto groups = bench::timeRuns(200, [&] { currentScanScreen(rw.win->talk(), false); });
    bench::report("scan groups taken from the live window (each poll)", groups);
}

void dialogGroups()
{
    RealWindow rw({"Scan=1"});
    FrmOPT options(rw.win->talk(), 1.0, rw.win.get());
    options.Form_Load();
    options.show();
    QDialog more(rw.win.get());
    (new QVBoxLayout(&more))->addWidget(new AccessSettingsPage);
    more.show();
    QCoreApplication::processEvents();
    std::printf("options dialog: %zu groups; switch settings page: %zu groups\n", dialogScreen(&options).groups.size(),
                dialogScreen(&more).groups.size());
    bench::report("options dialog's scan groups (each poll)", bench::timeRuns(200, [&] { dialogScreen(&options); }));
    bench::report("switch settings page's scan groups (each poll)", bench::timeRuns(200, [&] { dialogScreen(&more); }));
}

double movesMedian(const QStringList &access)
{
    RealWindow rw(access);
    QWidget *vp = rw.win->controls().grdBoard->viewport();
    std::vector<double> ms;
    for (int i = 0; i < 2000; ++i) {
        const QPointF p(20 + i % 400, 20 + (i / 7) % 200);
        QMouseEvent move(QEvent::MouseMove, p, vp->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        ms.push_back(bench::timeRuns(1, [&] { QApplication::sendEvent(vp, &move); })[0]);
    }
    bench::report(access.isEmpty() ? "pointer move, dwell off" : "pointer move, dwell on", ms);
    return bench::median(ms);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int steps = argc > 1 ? std::atoi(argv[1]) : 200;
    highlightRepaint();
    dialogGroups();
    const double off = movesMedian({});
    const double on = movesMedian({"Dwell=1000"});
    std::printf("%-58s        %8.4f ms\n", "dwell's cost per pointer move (median on - off)", on - off);
    scanJitter(steps);
    return 0;
}

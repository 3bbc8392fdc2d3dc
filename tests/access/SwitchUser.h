#pragma once
// A user of the program who can only use switches or rest the pointer, for
// the access tests: switch presses are key events delivered to the window,
// dwell is real pointer moves, and the clock is the test's.
#include "support/TalkFixture.h"

#include "access/AccessControl.h"
#include "access/ScanScreen.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace kel::test {

using std::chrono::milliseconds;

enum class Way { Dwell, OneSwitch, TwoSwitches };   // in the order of the stored "Scan"

// "Key=value;..." of the access group; the OPT and Samp keys are the options'.
inline std::map<QString, QString> settings(const QString &stored)
{
    std::map<QString, QString> out;
    for (const QString &kv : stored.split(u';', Qt::SkipEmptyParts))
        out[(kv.startsWith(u"OPT") || kv.startsWith(u"Samp") ? "" : "ACCESS/") + kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    return out;
}

// Where a scan is, in a word: "-" idle, "g2" on group 2, "i2.3" on its item
// 3, "u2" on the way back up from group 2.
inline QString scanState(TalkFixture &fx)
{
    const Scanner &s = *fx.win->access().scanner();
    if (s.level() == Scanner::Level::Idle)
        return QStringLiteral("-");
    if (s.level() == Scanner::Level::Groups)
        return QStringLiteral("g%1").arg(s.group());
    return s.onUp() ? QStringLiteral("u%1").arg(s.group()) : QStringLiteral("i%1.%2").arg(s.group()).arg(s.item());
}

// A switch edge, to the question in front of the window when there is one.
inline void key(TalkFixture &fx, Qt::Key k, QEvent::Type type = QEvent::KeyPress, bool repeat = false)
{
    QWidget *modal = QApplication::activeModalWidget();
    QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"), repeat);
    QApplication::sendEvent(modal ? modal : fx.win.get(), &e);
}

inline void tap(TalkFixture &fx, Qt::Key k)
{
    key(fx, k);
    key(fx, k, QEvent::KeyRelease);
}

// Lets `ms` pass on the test's clock, as the program's timer sees it; what
// that sets off runs at once or, with `later`, from the event loop.
inline void pass(TalkFixture &fx, int ms, bool later = false)
{
    for (int t = 0; t < ms; t += 10) {
        fx.clock.sleepFor(milliseconds(std::min(10, ms - t)));
        fx.win->access().poll();
    }
    if (!later)
        QCoreApplication::processEvents();
}

// A pointer move to `pos` of `w`: the screen's pointer and the event agree.
inline void moveTo(QWindow *w, QPoint pos)
{
    QCursor::setPos(w->mapToGlobal(pos));
    QTest::mouseMove(w, pos);
}

// The group and item of the first target showing `text`; -1, -1 when none does.
inline std::pair<int, int> find(const ScanScreen &screen, const QString &text)
{
    for (int g = 0; g < int(screen.groups.size()); ++g)
        for (int i = 0; i < int(screen.groups[g].items.size()); ++i)
            if (screen.groups[g].items[i].text.trimmed() == text)
                return {g, i};
    return {-1, -1};
}

// A user who wants to touch the targets named in turn (cell texts and
// captions) and can only use the switches or the resting pointer: watches
// the highlight and presses when it is on the way to the target. Runs from
// a timer, so that it goes on inside the question dialog's own loop.
class User {
public:
    // `listens`: waits while something is said before pressing; otherwise
    // presses as soon as the highlight is right, the echo of a pick or not
    // (and, once pressed, waits for that press to act).
    User(TalkFixture &fx, Way way, QStringList targets, bool listens = true)
        : fx_(fx), way_(way), targets_(std::move(targets)), listens_(listens)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start(0);
    }
    bool done() const { return targets_.isEmpty() || !stuck.isEmpty(); }
    int presses = 0;
    // The fewest presses the layout asks for: for each target, from where
    // the scan stood when it came into view.
    int bound = 0;
    QString stuck;
    // Each target with its presses / the fewest, for a failure's message.
    QStringList trace;
    int duringEcho = 0;   // presses made while a pick was voiced

private:
    void press(Qt::Key k)
    {
        ++presses;
        duringEcho += fx_.st().Speaking > 0;
        tap(fx_, k);
    }
    void step()
    {
        // Something is being said (a listening user waits), a press is still
        // to act, or the last choice's touch has not gone through: watch.
        const AccessControl &a = fx_.win->access();
        if (busy_ || done() || (listens_ && fx_.st().Speaking > 0) || a.keptPresses() > 0 || a.touchUnderway())
            return;
        busy_ = true;
        const int before = fx_.win->access().selections();
        if (++steps_ > 4000)
            stuck = QStringLiteral("never reached ") + targets_.first();
        else if (way_ == Way::Dwell)
            dwellStep();
        else
            scanStep();
        if (fx_.win->access().selections() != before) {
            trace << QStringLiteral("%1:%2/%3").arg(targets_.first()).arg(presses - pressesBefore_).arg(bound - boundBefore_);
            pressesBefore_ = presses;
            boundBefore_ = bound;
            targets_.removeFirst();
            steps_ = 0;
            costed_ = false;
            at_ = QPoint(-1, -1);
        }
        busy_ = false;
    }
    void scanStep()
    {
        AccessControl &a = fx_.win->access();
        a.poll();   // what the program's timer does meanwhile
        const Scanner &s = *a.scanner();
        const bool one = way_ == Way::OneSwitch;
        // Before the first press the program has not looked at the screen yet.
        const ScanScreen screen = s.level() == Scanner::Level::Idle
            ? currentScanScreen(fx_.talk(), a.settings().ScanOrder == 1, a.settings().ScanSettings == 1)
            : a.screen();
        const auto [g, i] = find(screen, targets_.first());
        if (!costed_ && g >= 0) {
            bound += fewestPresses(s, screen, g, i, one);
            costed_ = true;
        }
        if (s.level() == Scanner::Level::Idle)
            return press(Qt::Key_Space);
        const bool onWay = g >= 0 && s.group() == g && (s.level() == Scanner::Level::Groups || s.item() == i);
        if (onWay || (s.level() == Scanner::Level::Items && s.group() != g && s.onUp()))
            return press(one ? Qt::Key_Space : Qt::Key_Return);
        if (one)
            pass(fx_, 50, true);
        else
            press(Qt::Key_Space);
    }
    void dwellStep()
    {
        const ScanScreen screen = currentScanScreen(fx_.talk(), false);
        const auto [g, i] = find(screen, targets_.first());
        QWindow *w = screen.window->windowHandle();
        if (g >= 0 && (at_ != screen.groups[g].items[i].centre() || window_ != w)) {
            moveTo(w, QPoint(2, 2));   // away first, so that the same place twice is a new rest
            moveTo(w, at_ = screen.groups[g].items[i].centre());
            window_ = w;
        }
        pass(fx_, 50, true);
    }

    // From the scan's state to the choice of item i of group g.
    static int fewestPresses(const Scanner &s, const ScanScreen &screen, int g, int i, bool oneSwitch)
    {
        const bool multi = screen.groups[g].items.size() > 1;
        const int groups = int(screen.groups.size());
        auto dist = [](int from, int to, int n) { return ((to - from) % n + n) % n; };
        auto fromGroups = [&](int at) { return (oneSwitch ? 0 : dist(at, g, groups)) + 1 + (multi ? (oneSwitch ? 0 : i) + 1 : 0); };
        switch (s.level()) {
        case Scanner::Level::Idle:
            return 1 + fromGroups(0);
        case Scanner::Level::Groups:
            return fromGroups(s.group());
        case Scanner::Level::Items:
            if (s.group() == g)
                return (oneSwitch ? 0 : dist(s.item(), i, s.itemCount(g))) + 1;
            return (oneSwitch ? 0 : dist(s.item(), s.itemCount(s.group()) - 1, s.itemCount(s.group()))) + 1 + fromGroups(s.group());
        }
        return 0;
    }

    TalkFixture &fx_;
    Way way_;
    QStringList targets_;
    bool listens_;
    bool costed_ = false;
    int pressesBefore_ = 0, boundBefore_ = 0;
    QTimer timer_;
    ExpectsDialogs expects_; // answered by switches or by resting, as any screen
    bool busy_ = false;
    int steps_ = 0;
    QPoint at_{-1, -1};
    QWindow *window_ = nullptr;
};

} // namespace kel::test

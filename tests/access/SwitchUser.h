#pragma once
// A switch or dwell user, for the tests: switch presses are key events
// delivered to the window, dwell is real pointer moves, the clock is the
// test's, and the user presses when the highlight is on the way to the next
// target it wants.

#include "support/ScanState.h"
#include "support/TalkFixture.h"

#include "access/AccessControl.h"
#include "access/ScanScreen.h"

#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

namespace kel::test {

using std::chrono::milliseconds;


enum class Way { OneSwitch, TwoSwitches, Dwell };

inline QWidget *keyTarget(TalkFixture &fx)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal : fx.win.get();
}

inline void key(TalkFixture &fx, Qt::Key k, QEvent::Type type = QEvent::KeyPress, bool repeat = false)
{
    QKeyEvent e(type, k, Qt::NoModifier, k == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r"), repeat);
    QApplication::sendEvent(keyTarget(fx), &e);
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

// A pointer move to `pos` of `w`: the screen's pointer (where there is
// one) and the event agree.
inline void moveTo(QWindow *w, QPoint pos)
{
    QCursor::setPos(w->mapToGlobal(pos));
    QTest::mouseMove(w, pos);
}

// A user who wants to touch the targets named in turn (cell texts and
// captions) and can only use the switches or the resting pointer: watches
// the highlight and presses when it is on the way to the target. Runs from
// a timer, so that it goes on inside the question dialog's own loop.
class User {
public:
    User(TalkFixture &fx, Way way, QStringList targets) : fx_(fx), way_(way), targets_(std::move(targets))
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { step(); });
        timer_.start(0);
    }
    bool done() const { return targets_.isEmpty() || !stuck_.isEmpty(); }
    int presses = 0;
    QString stuck_;

private:
    void press(Qt::Key k)
    {
        ++presses;
        tap(fx_, k);
    }
    void step()
    {
        if (busy_ || done())
            return;
        busy_ = true;
        const int before = fx_.win->access().selections();
        const ScanScreen screen = currentScanScreen(fx_.talk(), false);
        if (fx_.st().Speaking > 0) {
            busy_ = false;   // something is being said: listen
            return;
        }
        if (++steps_ > 4000)
            stuck_ = QStringLiteral("never reached ") + targets_.first();
        else if (way_ == Way::Dwell)
            dwellStep(screen);
        else
            scanStep();
        if (fx_.win->access().selections() != before) {
            targets_.removeFirst();
            steps_ = 0;
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
        const Qt::Key select = one ? Qt::Key_Space : Qt::Key_Return;
        if (s.level() == Scanner::Level::Idle)
            return press(Qt::Key_Space);
        int g = -1, i = -1;
        const ScanScreen &screen = a.screen();
        for (int k = 0; k < int(screen.groups.size()) && g < 0; ++k)
            for (int j = 0; j < int(screen.groups[k].items.size()); ++j)
                if (screen.groups[k].items[j].text.trimmed() == targets_.first()) {
                    g = k;
                    i = j;
                    break;
                }
        const bool onWay = g >= 0 && s.group() == g
                           && (s.level() == Scanner::Level::Groups || s.item() == i);
        if (onWay || (s.level() == Scanner::Level::Items && s.group() != g && s.onUp()))
            return press(select);
        if (one)
            pass(fx_, 50, true);
        else
            press(Qt::Key_Space);
    }
    void dwellStep(const ScanScreen &screen)
    {
        for (const ScanGroup &g : screen.groups)
            for (const ScanTarget &t : g.items)
                if (t.text.trimmed() == targets_.first()) {
                    QWindow *w = screen.window->windowHandle();
                    if (at_ != t.centre() || window_ != w) {
                        // Away first, so that the same place twice is a new rest.
                        moveTo(w, QPoint(2, 2));
                        moveTo(w, t.centre());
                        at_ = t.centre();
                        window_ = w;
                    }
                    pass(fx_, 50, true);
                    return;
                }
        pass(fx_, 50, true);
    }

    TalkFixture &fx_;
    Way way_;
    QStringList targets_;
    QTimer timer_;
    bool busy_ = false;
    int steps_ = 0;
    QPoint at_{-1, -1};
    QWindow *window_ = nullptr;
};

// Runs `user` until it has touched every target.
inline void run(User &user)
{
    QTRY_VERIFY_WITH_TIMEOUT(user.done(), 60000);
    QCOMPARE(user.stuck_, QString());
    // The last selection's release is still queued when its press counted.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

inline QStringList way(Way w)
{
    return {QStringLiteral("Scan=%1").arg(w == Way::OneSwitch ? 1 : w == Way::TwoSwitches ? 2 : 0),
            QStringLiteral("Dwell=%1").arg(w == Way::Dwell ? 1000 : 0)};
}

inline std::map<QString, QString> settings(const QStringList &access, std::map<QString, QString> more = {})
{
    for (const QString &kv : access)
        more[QStringLiteral("ACCESS/") + kv.section(u'=', 0, 0)] = kv.section(u'=', 1);
    return more;
}


} // namespace kel::test

#include "base/Clock.h"

#include "base/ExitGuard.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace kel {

Nanos SteadyClock::now() const
{
    return std::chrono::duration_cast<Nanos>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::sleepFor(Nanos d)
{
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(d);
        return;
    }
    // A reading waits 0.8 s per character, for minutes on a long text: the
    // window must go on painting meanwhile. Only timers and painting run
    // here; touches and keys stay queued for the handler's own event step,
    // so they keep their order and are dropped or taken as before.
    QEventLoop loop;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(d);
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void waitMoreThan(Clock &clock, Nanos start, double seconds)
{
    const auto span = std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds));
    // Once the program is asked to end, nothing is worth waiting for.
    for (Nanos elapsed = clock.now() - start; elapsed <= span && !endRequested(); elapsed = clock.now() - start)
        clock.sleepFor(span - elapsed + Nanos(1));
}

} // namespace kel

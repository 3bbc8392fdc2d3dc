#include "base/Clock.h"

#include <thread>

namespace kel {

Nanos SteadyClock::now() const
{
    return std::chrono::duration_cast<Nanos>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::sleepFor(Nanos d)
{
    std::this_thread::sleep_for(d);
}

void waitMoreThan(Clock &clock, Nanos start, double seconds)
{
    const auto span = std::chrono::duration_cast<Nanos>(std::chrono::duration<double>(seconds));
    for (Nanos elapsed = clock.now() - start; elapsed <= span; elapsed = clock.now() - start)
        clock.sleepFor(span - elapsed + Nanos(1));
}

} // namespace kel

#pragma once
// Elapsed time for the fixed waits (0.8 s reading pace, 0.5 s voice pause,
// 0.23 s key repeat). The program uses the steady clock and waits in an
// event loop that only paints and runs timers; tests substitute a clock
// they advance themselves.

#include <chrono>
#include <functional>

namespace kel {

using Nanos = std::chrono::nanoseconds;

class Clock {
public:
    virtual ~Clock() = default;
    virtual Nanos now() const = 0;          // monotonic, never wraps
    virtual void sleepFor(Nanos d) = 0;     // blocks without taking user input
};

class SteadyClock final : public Clock {
public:
    Nanos now() const override;
    void sleepFor(Nanos d) override;
};

// Blocks until strictly more than `seconds` have passed since `start`,
// waiting rather than spinning and taking no user input.
void waitMoreThan(Clock &clock, Nanos start, double seconds);

} // namespace kel

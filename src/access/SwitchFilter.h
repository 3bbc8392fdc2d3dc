#pragma once
// Turns raw switch edges into presses that count. A press counts once the
// switch has been held for the accept time (at once when that is 0), and
// only once however long it is held; after a counted press, and after its
// release, further presses are ignored for the lock time, which swallows
// the bounce of a worn switch and a tremor's second tap.
//
//   accept 0, lock 300:   down@0 -> counts; up@40; down@60 -> ignored (bounce)
//   accept 200:           down@0; up@100 -> nothing (too short)
//                         down@0; tick@200 -> counts; tick@900 -> nothing

#include "base/Clock.h"

#include <array>
#include <optional>

namespace kel {

enum class Switch { Select = 0, Move = 1 };

class SwitchFilter {
public:
    SwitchFilter(Nanos accept, Nanos lock) : accept_(accept), lock_(lock) {}

    // A switch went down; the switch when this press counts right now.
    std::optional<Switch> down(Switch s, Nanos now);
    void up(Switch s, Nanos now);
    // A held switch that has now been held long enough.
    std::optional<Switch> tick(Nanos now);
    bool held() const { return keys_[0].down || keys_[1].down; }

private:
    struct Key {
        bool down = false;
        bool decided = false;   // counted or swallowed: nothing more until up
        bool counted = false;
        Nanos since{};
    };
    std::optional<Switch> count(Switch s, Nanos now);

    Nanos accept_, lock_;
    std::array<Key, 2> keys_;
    std::optional<Nanos> lockedUntil_;
};

} // namespace kel

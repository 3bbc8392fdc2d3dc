#include "access/SwitchFilter.h"

namespace kel {

std::optional<Switch> SwitchFilter::count(Switch s, Nanos now)
{
    Key &k = keys_[int(s)];
    k.decided = true;
    k.counted = true;
    lockedUntil_ = now + lock_;
    return s;
}

std::optional<Switch> SwitchFilter::down(Switch s, Nanos now)
{
    Key &k = keys_[int(s)];
    if (k.down)
        return std::nullopt;   // still held: a repeat, not a press
    k = Key{true, false, false, now};
    if (lockedUntil_ && now < *lockedUntil_) {
        k.decided = true;
        return std::nullopt;
    }
    if (accept_ <= Nanos(0))
        return count(s, now);
    return std::nullopt;
}

void SwitchFilter::up(Switch s, Nanos now)
{
    Key &k = keys_[int(s)];
    if (!k.down)
        return;
    if (k.counted)
        lockedUntil_ = now + lock_;
    k = Key{};
}

std::optional<Switch> SwitchFilter::tick(Nanos now)
{
    for (int i = 0; i < 2; ++i) {
        Key &k = keys_[i];
        if (k.down && !k.decided && now - k.since >= accept_)
            return count(Switch(i), now);
    }
    return std::nullopt;
}

} // namespace kel

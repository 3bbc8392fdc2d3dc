#include "access/DwellTracker.h"

namespace kel {

bool DwellTracker::sample(QPoint pos, DwellKey target, bool doubled, Nanos now)
{
    const bool moved = !seen_ || pos != last_;
    if (!(target == target_)) {
        // The same spot over something else: the screen changed under it.
        // A selection changes the screen at once, so a tremor (a move inside
        // the lock-on radius) that reaches us before the unmoved sample
        // counts as the same spot too.
        if (seen_ && (!moved || (spent_ && near(pos, last_)))) {
            dead_ = true;
            anchor_ = pos;
        } else if (dead_ && !near(pos, anchor_)) {
            dead_ = false;
        }
        target_ = target;
        spent_ = false;
        if (!dead_)
            anchor_ = pos;
        since_ = now;
    } else if (dead_) {
        if (!near(pos, anchor_)) {
            dead_ = false;
            anchor_ = pos;
            since_ = now;
        }
    } else if (now - since_ < lockOn_ && !near(pos, anchor_)) {
        anchor_ = pos;   // not yet locked on: start again here
        since_ = now;
    }
    seen_ = true;
    last_ = pos;
    doubled_ = doubled;
    if (dead_ || spent_ || !target_.valid() || now - since_ < needed())
        return false;
    spent_ = true;
    return true;
}

double DwellTracker::progress(Nanos now) const
{
    if (dead_ || spent_ || !target_.valid() || now - since_ < lockOn_)
        return -1;
    return std::min(1.0, std::chrono::duration<double>(now - since_) / std::chrono::duration<double>(needed()));
}

} // namespace kel

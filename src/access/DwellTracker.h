#pragma once
// Selection by resting the pointer: after a short lock-on in which the
// pointer stays within a few pixels, resting on the same target for the
// dwell time selects it, once. The pointer must then leave the target
// before it can select again. When the target under a resting pointer
// changes by itself (a new screen appeared, also when it trembles a little
// just after a selection), nothing is selected until the pointer moves away:
// the user did not aim at what is there now.
//
//   dwell 1000:  (10,10) over A @0 ... @1000 -> selects A; @3000 -> nothing
//                (10,10) over B @3100 (screen changed) -> dead until a move

#include "base/Clock.h"

#include <QPoint>
#include <QtGlobal>

namespace kel {

struct DwellKey {
    quintptr widget = 0;
    int row = -1, col = -1;
    bool valid() const { return widget != 0; }
    bool operator==(const DwellKey &) const = default;
};

class DwellTracker {
public:
    explicit DwellTracker(Nanos dwell, Nanos lockOn = std::chrono::milliseconds(150), int radius = 6)
        : dwell_(dwell), lockOn_(lockOn), radius_(radius)
    {
    }

    // The pointer is at `pos` over `target` (invalid: over nothing that can
    // be selected); `doubled` when the target needs twice the time. True when
    // this selects the target.
    bool sample(QPoint pos, DwellKey target, bool doubled, Nanos now);
    // How far the dwell on the current target has come, 0..1, or a negative
    // number when no dwell is running.
    double progress(Nanos now) const;
    DwellKey target() const { return target_; }
    // The target was touched by hand: it counts as selected.
    void touched() { spent_ = true; }

private:
    bool near(QPoint a, QPoint b) const { return (a - b).manhattanLength() <= radius_; }
    Nanos needed() const { return doubled_ ? 2 * dwell_ : dwell_; }

    Nanos dwell_, lockOn_;
    int radius_;
    DwellKey target_;
    bool doubled_ = false;
    bool spent_ = false;
    bool dead_ = false;
    bool seen_ = false;
    QPoint anchor_, last_;
    Nanos since_{};
};

} // namespace kel

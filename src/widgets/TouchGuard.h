#pragma once
// A second touch on the spot the finger just left, made before the user can
// have seen that something new appeared there, is not taken: a double tap
// on a board cell whose release opened the enlarged screen must not enter
// whatever the enlarged screen shows under the finger. It is the touch
// counterpart of the dwell's rule for a screen that changes under a resting
// pointer.
//
//   touch (40,40) on く @0; enlarged screen shown @0.5
//   touch (41,40) @0.6 -> lands on ぐ, not taken (0.1 s after the change)
//   touch (41,40) @0.9 -> taken
//   touch (300,500) on "読む" @0.6 -> taken: the finger went elsewhere

#include "base/Clock.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

namespace kel {

class TouchGuard : public QObject {
public:
    static constexpr Nanos kBlind = std::chrono::milliseconds(300);

    explicit TouchGuard(Clock &clock) : clock_(clock) {}
    // Whether a press at `global` landing on `hit` is to be taken; notes it
    // when it is. `fingertip` is the radius, in pixels, of one spot.
    bool takePress(QWidget *hit, QPoint global, int fingertip);
    // What is shown changed (a panel, grid or window appeared or went).
    void screenChanged() { changedAt_ = clock_.now(); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    Clock &clock_;
    Nanos changedAt_{Nanos::min()};
    QPoint lastSpot_;
    QPointer<QWidget> lastHit_;
    bool swallowRelease_ = false;
};

} // namespace kel

#include "widgets/TouchGuard.h"

#include "widgets/Fingertip.h"

#include <QMouseEvent>

namespace kel {

bool TouchGuard::takePress(QWidget *hit, QPoint global, int fingertip)
{
    const bool sameSpot = lastHit_ && (global - lastSpot_).manhattanLength() <= fingertip;
    const bool changedUnderFinger = sameSpot && hit != lastHit_.data();
    if (changedUnderFinger && clock_.now() - changedAt_ < kBlind)
        return false;
    lastSpot_ = global;
    lastHit_ = hit;
    return true;
}

bool TouchGuard::eventFilter(QObject *o, QEvent *e)
{
    switch (e->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        if (o->isWidgetType())
            screenChanged();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        // Only the user's own touches; scanning and dwell touch on purpose,
        // and the dwell keeps its own rule. A press passed on from a child
        // that did not take it was judged at the child.
        if (!e->spontaneous() || !o->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(o);
        const QPoint global = static_cast<QMouseEvent *>(e)->globalPosition().toPoint();
        QWidget *window = w->window();
        QWidget *hit = window->childAt(window->mapFromGlobal(global));
        if ((hit ? hit : window) != w)
            return false;
        // Half a fingertip: the same spot, not the control next to it.
        swallowRelease_ = !takePress(w, global, fingertipPixels(w) / 2);
        return swallowRelease_;
    }
    case QEvent::MouseButtonRelease:
        if (swallowRelease_ && e->spontaneous()) {
            swallowRelease_ = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace kel

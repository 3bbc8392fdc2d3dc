#include "frame/Reachable.h"

#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"

#include <QAbstractButton>
#include <QLabel>
#include <algorithm>

namespace kel {
namespace {

QPoint centreOf(const QWidget *w)
{
    return w->mapToGlobal(w->rect().center());
}

bool touchable(const QWidget *w)
{
    // A label is a control only when it says so (the stop label): the
    // transfer label and captions are not.
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const FlexGrid *>(w)
        || qobject_cast<const TalkBox *>(w)
        || (qobject_cast<const QLabel *>(w) && w->property("touchable").toBool());
}

} // namespace

QWidget *widgetAt(QWidget *window, const QPoint &global)
{
    if (!window || !window->isVisible())
        return nullptr;
    // A window that belongs to this one (the stop panel) stands above it.
    for (QObject *o : window->children()) {
        auto *owned = qobject_cast<QWidget *>(o);
        if (owned && owned->isWindow() && owned->isVisible() && owned->frameGeometry().contains(global))
            return widgetAt(owned, global);
    }
    const QPoint local = window->mapFromGlobal(global);
    if (!window->rect().contains(local))
        return nullptr;
    return window->childAt(local);
}

bool onTopAtCentre(const QWidget *control)
{
    if (!control || !control->isVisible() || control->width() <= 0 || control->height() <= 0)
        return false;
    const QWidget *hit = widgetAt(control->window(), centreOf(control));
    return hit && (hit == control || control->isAncestorOf(hit));
}

QList<QWidget *> reachableControls(QWidget *window)
{
    QList<QWidget *> out;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (touchable(w) && onTopAtCentre(w))
            out << w;
    std::stable_sort(out.begin(), out.end(), [](const QWidget *a, const QWidget *b) {
        const QPoint ta = a->mapToGlobal(QPoint(0, 0)), tb = b->mapToGlobal(QPoint(0, 0));
        return ta.y() != tb.y() ? ta.y() < tb.y() : ta.x() < tb.x();
    });
    return out;
}

} // namespace kel

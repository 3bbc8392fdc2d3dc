#pragma once
// What a finger can reach: a control counts only where it is itself on top
// at its centre, inside its own window. The same test serves the tests that
// press controls as a user does and anything that steps through the
// controls on screen (a switch user's scanning).

#include <QList>
#include <QPoint>

class QWidget;

namespace kel {

// The widget a touch at `global` (screen pixels) lands on inside the
// window `window` or a window it owns (which stands above it), or nullptr
// when the point is outside them or on no child.
QWidget *widgetAt(QWidget *window, const QPoint &global);

// True when `control` is shown and a touch at its centre lands on it (or on
// one of its own parts, such as a grid's viewport).
bool onTopAtCentre(const QWidget *control);

// The touchable controls of `window` (buttons, grids, the text box, labels
// that act on a touch) that are on top at their centre, in reading order:
// by their top edge, then left to right.
QList<QWidget *> reachableControls(QWidget *window);

} // namespace kel

#pragma once
// What can be touched on the screen in front of the user, as scan groups in
// the order they are offered: taken from the live window each time, so that
// every screen state (board, enlarged screen, lists, diary panel, question
// dialog, stop panel) scans the controls a finger could reach there. A
// control counts only when it is visible and on top at its centre.

#include "frame/Talk.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class QWidget;

namespace kel {

struct ScanTarget {
    QPointer<QWidget> widget;   // a button, a label, or a grid
    int row = -1, col = -1;     // the cell, for a grid
    QString text;               // caption or cell text (its sound names it)
    QRect rect;                 // in the coordinates of the screen's window
    QPoint centre() const { return rect.center(); }
};

struct ScanGroup {
    std::vector<ScanTarget> items;
    QRect rect;   // the union of its items
};

struct ScanScreen {
    QPointer<QWidget> window;   // the top-level window the targets lie in
    std::vector<ScanGroup> groups;
    std::vector<int> shape() const;
    // Identity of the screen: changes when any target, its place or its text does.
    QString signature() const;
};

// The screen the user faces now: the stop panel while reading, else a modal
// question, else the main window. `rowsFirst` orders the board by rows.
ScanScreen currentScanScreen(Talk &t, bool rowsFirst);

// The target under a point of the screen (global coordinates), for dwell:
// a button, a grid cell or the stop label; none when there is none.
ScanTarget targetAt(const QPoint &global);

// A touch at `pos` of `window`, to whatever widget is on top there: a press,
// then a release, through the normal handlers. The press is delivered now;
// the release is queued first, so that a handler that waits for its
// button's release inside the press sees it.
void touchAt(QWidget *window, QPoint pos);

} // namespace kel

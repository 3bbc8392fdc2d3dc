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

// What choosing a target does: a touch at its centre; opening a drop-down's
// or number box's values to step through; taking one of those values.
enum class ScanAct { Touch, Open, Take };

struct ScanTarget {
    QPointer<QWidget> widget;   // a button, a label, a grid, a drop-down or a number box
    int row = -1, col = -1;     // the cell, for a grid
    QString text;               // caption or cell text (its sound names it)
    QRect rect;                 // in the coordinates of the screen's window
    ScanAct act = ScanAct::Touch;
    double value = 0;           // the value taken (a drop-down's item index)
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
// dialog, else the main window. `rowsFirst` orders the board by rows;
// `withSettings` offers "設定" too ("終了" is never offered).
ScanScreen currentScanScreen(Talk &t, bool rowsFirst, bool withSettings = false);

// A dialog, by its groups in reading order (a group box, or a line of loose
// controls), each group's controls in reading order: the dialog's safe
// default ("確定", "閉じる", "ＯＫ") first as a group of its own, a group's
// current choice before the other choices, a cancelling button never first.
// Drop-downs and number boxes open their values (ScanAct::Open). A control
// with the property kNoScan set, or inside one, is left out.
inline constexpr const char *kNoScan = "kelNoScan";
ScanScreen dialogScreen(QWidget *dialog);

// The values of a drop-down (QComboBox) or number box (QSpinBox,
// QDoubleSpinBox) inside `window`, each a group of its own, `from` (its
// value when it was opened) first (ScanAct::Take); empty for any other
// widget. The order stays while the box shows the highlighted value.
ScanScreen valueScreen(QWidget *window, QWidget *box, double from);
// Shows `value` in the box (an item index for a drop-down); `quietly` keeps
// its signals back, for a value only looked at while the highlight is on it.
void setBoxValue(QWidget *box, double value, bool quietly);
double boxValue(QWidget *box);
bool isValueBox(const QWidget *w);

// True when `w` is shown and a touch at its centre in `window` lands on it.
bool reachableIn(QWidget *window, QWidget *w);

// The target under a point of the screen (global coordinates), for dwell:
// a button, a grid cell or the stop label; none when there is none.
ScanTarget targetAt(const QPoint &global);

// A touch at `pos` of `window`, to whatever widget is on top there: a press,
// then a release, through the normal handlers. The press is delivered now;
// the release is queued first, so that a handler that waits for its
// button's release inside the press sees it.
void touchAt(QWidget *window, QPoint pos);

} // namespace kel

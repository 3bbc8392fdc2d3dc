#pragma once
// The order in which a switch user is offered a dialog's controls and a
// drop-down's or number box's values; plain functions over rectangles and
// numbers, so that they are tested without a window.

#include <QRect>
#include <QString>
#include <vector>

namespace kel {

// Reading order: rectangles whose vertical middles fall within one another's
// height form a line; lines run top to bottom, each left to right. The
// result holds indices into `rects`.
//   [(0,40 100x30) (120,35 100x40) (0,0 50x20)] -> [[2], [0, 1]]
std::vector<std::vector<int>> readingLines(const std::vector<QRect> &rects);

// The values of a number box from `low` to `high` in steps of `step`, at most
// `most` of them (a coarser round step when there would be more), the
// current value included, in the order a switch offers them: the current
// value first, then upwards, then from the lowest.
//   numberSteps(1, 5, 1, 3, 40)        -> [3, 4, 5, 1, 2]
//   numberSteps(300, 5000, 1, 1000, 40) -> [1000, 1200, ..., 4900, 5000, 300, 400, 600, 800]
std::vector<double> numberSteps(double low, double high, double step, double current, int most);

// The items of a list of `count` in that order: the current one first.
//   listSteps(5, 2) -> [2, 3, 4, 0, 1]; listSteps(3, -1) -> [0, 1, 2]
std::vector<int> listSteps(int count, int current);

// Captions that answer "no" or throw away what was changed: never offered
// first, and never the dialog's default.
bool isCancelCaption(const QString &caption);
// Captions that keep what the dialog shows and close it ("確定", "閉じる",
// "ＯＫ", "ＹＥＳ", "OK"): the safe default a dialog's scan begins with.
bool isKeepCaption(const QString &caption);

} // namespace kel

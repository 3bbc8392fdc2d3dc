#pragma once
// The screens of the main window, told apart by what shows, and the
// controls each screen needs within reach. Every control a screen needs
// must be on top at its centre (frame/Reachable.h), or a user who only
// touches cannot go on from there.

#include "frame/Controls.h"

#include <QStringList>

namespace kel {

struct ScreenNeeds {
    const char *screen;
    // Object names of the controls this screen needs on top.
    QStringList controls;
};

// One row per screen:
//   board, enlarged, suggestions, example list, diary list, entry open,
//   revising, wide text, reading.
const QList<ScreenNeeds> &screenNeeds();

// The screen the window shows now, one of the names above.
QString screenOf(const Controls &ui);

// The controls the current screen needs that are not on top at their
// centre; empty when every one can be touched.
QStringList unreachableNeeds(const Controls &ui);

} // namespace kel

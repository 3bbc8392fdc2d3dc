#pragma once
// What every subsystem of the main window receives: the shared state, the
// controls, the platform services, the screen model and the calls the
// window wires between subsystems. The frame knows no subsystem: one asks
// another only through what is declared here.

#include "base/AppState.h"
#include "base/Clock.h"
#include "frame/Controls.h"

#include <QDate>
#include <QString>
#include <functional>

namespace kel {

class Clock;
class Platform;
class SettingsStore;
class TwipsLayout;
class WavePlayer;

class Prediction;
class Screens;

struct Services {
    Clock *clock = nullptr;
    WavePlayer *player = nullptr;
    Platform *platform = nullptr;
    SettingsStore *store = nullptr;
    std::function<QDate()> today;
};

struct Talk {
    AppState &st;
    Controls &ui;
    Services &sv;
    TwipsLayout &layout;

    // Which screen shows; handlers ask it for another.
    Screens *screens = nullptr;
    // For the dialogs and the studio above the subsystems; the window wires
    // each to the subsystem that does it. The subsystems get the peers below
    // them from the window, and ask the ones above through the screens.
    // Draws the board anew after the options changed.
    std::function<void()> setBoard;
    // Plays one character's sound as a pick voices it; returns when it started.
    std::function<Nanos(const QString &)> playChar;
    // Reads the example sentences anew after a restore changed the file.
    std::function<void()> reloadSamples;
    // The candidates offered while typing; null in a window without them.
    Prediction *prediction = nullptr;
    // Re-reads the settings kept beside the options (their own groups of the
    // settings file) after a dialog changed them.
    std::function<void()> reloadSettings;

    // Processes the pending window events once (the handlers' yield point).
    void doEvents() const;
    // The folder-relative path of one of the program's files.
    QString dataFile(const QString &name) const { return st.AppPath + QLatin1Char('/') + name; }
};

} // namespace kel

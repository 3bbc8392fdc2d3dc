#pragma once
// What every subsystem of the main window receives: the shared state, the
// controls, the platform services and the screen model.

#include "base/AppState.h"
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

class Board;
class Prediction;
class SampleScreens;
class Screens;
class Speech;

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
    // For the dialogs and the studio above the subsystems: the board after
    // the options changed, the voice of a character, the sentences after a
    // restore. The subsystems get the peers below them from the window,
    // and ask the ones above through the screens.
    Board *board = nullptr;
    Speech *speech = nullptr;
    SampleScreens *samples = nullptr;
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

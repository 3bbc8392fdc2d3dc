#pragma once
// What every subsystem of the main window receives: the shared state, the
// controls, the platform services and the other subsystems' procedures.

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
class Composer;
class ListNav;
class Speech;
class SampleScreens;
class DiaryScreens;

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

    Board *board = nullptr;
    Composer *compose = nullptr;
    ListNav *lists = nullptr;
    Speech *speech = nullptr;
    SampleScreens *samples = nullptr;
    DiaryScreens *diary = nullptr;

    // Re-reads the settings kept beside the options (their own groups of the
    // settings file) after a dialog changed them.
    std::function<void()> reloadSettings;

    // Processes the pending window events once (the handlers' yield point).
    void doEvents() const;
    // The folder-relative path of one of the program's files.
    QString dataFile(const QString &name) const { return st.AppPath + QLatin1Char('/') + name; }
};

} // namespace kel

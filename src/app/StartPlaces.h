#pragma once
// Where a start finds the user's files and the sounds, and what it tells the
// user when a place is missing or cannot be written.

#include "base/CommandLine.h"

#include <QString>
#include <QStringList>

namespace kel {

struct Talk;

struct StartPlaces {
    QString dataFolder;     // Talk.txt, day.txt, own recordings
    QString soundSet;       // the installed default set
    bool explicitHome = false; // chosen by --home or $KELVORAN_HOME
    int silent = 0;         // characters with no sound in either place
    int characters = 0;     // characters of the set
    QStringList problems;   // one English line each, for the terminal
    QStringList notices;    // the same, short Japanese for the window: what, then where
};

// With `lookOnly` (--where) nothing is made, probed by writing, or copied:
// the answer is what a start would find.
StartPlaces findStartPlaces(const QString &homeOption, const QString &programDir, bool lookOnly = false);

// --where and --autostart: prints the answer; the program's exit code.
int answerWithoutWindow(const StartRequest &req, const StartPlaces &places);

// The window's notices at a start: the places' own, then one for each of
// Talk.txt, day.txt (in `dataFolder`) and the settings file at
// `settingsPath` that the window leaves unread (a link, a FIFO, a device,
// over its limit), so that an empty list or the options at their defaults
// are never a silent surprise.
QStringList windowNotices(const StartPlaces &places, const QString &settingsPath);

// Shows each notice in the question dialog once the event loop runs.
void showStartNotices(Talk &t, const QStringList &notices);

} // namespace kel

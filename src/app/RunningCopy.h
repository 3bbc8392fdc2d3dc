#pragma once
// What a start does when a copy of the program is already running: it asks
// that copy, over its knock socket (base/KnockSocket.h), to bring its window
// to the front, and ends. A copy that takes the knock and does not answer
// within two seconds hangs; the new start then says so in one line and
// offers to end it. A copy whose socket cannot be reached is never taken
// for hung: the lock alone decides, and the start says so and ends. Never a
// start that shows nothing, and never two copies on one data folder.

#include <QString>

class QWidget;

namespace kel {

class SingleInstance;

// The start-up check, for the user's lock `instance` and then the lock of
// the data folder `dataPath`: true when this start goes on to open its
// window (the only copy, no place for a lock, or a hung copy the user chose
// to end, now ended); false when it should end because the running copy is
// now in front, the user left the hung one alone, or it could not be ended
// (the user has been told).
bool startAsOnlyCopy(SingleInstance &instance, SingleInstance &dataFolder, const QString &dataPath);

// Brings `w` to the front, out of the task bar if it was minimised.
void bringToFront(QWidget *w);

// From now on SIGTERM, SIGHUP and SIGINT end the program as "終了" does,
// whatever is on screen (a reading too), within 1.8 s at the latest.
void endOnSignals();

// The one-line question about a copy that does not answer; true when the
// user chose to end it.
// Asked in the program's own large question, "やめる" the default.
inline const char *const kHungQuestion = "Kelvoran が応答しません。終了させますか？";
bool askToEndHungCopy();
// Said when the hung copy could not be ended (another user's, say); this
// start then ends, so that two copies never write the same files.
inline const char *const kNotEnded = "もう一つの Kelvoran を終了できませんでした。こちらは終了します。";
// Said when the copy holding the lock cannot be reached (its socket failed,
// or it is another user's): it is not offered to be ended.
inline const char *const kNotReached =
    "Kelvoran はもう開いていますが、前に出せませんでした。こちらは終了します。";
// Said when the data folder is held by an import or a restore run from the
// command line: it is working, not hung, and is never offered to be ended.
inline const char *const kCommandRunning =
    "声やバックアップを読み込んでいるところです。終わってから、もう一度 Kelvoran を開いてください。";

// Ends the hung copy `pid` (a frozen one too) and waits, at most two
// seconds, until it has ended.
bool endHungCopy(qint64 pid);

} // namespace kel

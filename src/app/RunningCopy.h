#pragma once
// What a start does when a copy of the program is already running: it asks
// that copy, over a local socket, to bring its window to the front, and
// ends. A copy that does not answer within two seconds hangs; the new start
// then says so in one line and offers to end it. Never a start that shows
// nothing, and never two copies on one data folder.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace kel {

class KnockListener;
class SingleInstance;

// The start-up check, for the user's lock `instance` and then the lock of
// the data folder `dataPath`: true when this start goes on to open its
// window (the only copy, no place for a lock, or a hung copy the user chose
// to end, now ended); false when it should end because the running copy is
// now in front, the user left the hung one alone, or it could not be ended
// (the user has been told).
bool startAsOnlyCopy(SingleInstance &instance, SingleInstance &dataFolder, const QString &dataPath);

// The running copy's side: answers every start that knocks by calling
// `raise` and replying.
class RunningCopyServer {
public:
    explicit RunningCopyServer(std::function<void()> raise);
    ~RunningCopyServer();
    // False when the socket cannot be made (the program runs on, unreachable).
    bool listen(const QString &socketPath, bool abstract = false);
    // Stops answering (the socket's file removed).
    void close();

private:
    std::function<void()> raise_;
    std::unique_ptr<KnockListener> listener_;
};

// Brings `w` to the front, out of the task bar if it was minimised.
void bringToFront(QWidget *w);

// The starting copy's side: true when the running copy answered within
// `timeoutMs` (its window is now in front).
bool askRunningCopyToRaise(const QString &socketPath, int timeoutMs, bool abstract = false);

// The one-line question about a copy that does not answer; true when the
// user chose to end it.
// Asked in the program's own large question, "やめる" the default.
inline const char *const kHungQuestion = "Kelvoran が応答しません。終了させますか？";
bool askToEndHungCopy();
// Said when the hung copy could not be ended (another user's, say); this
// start then ends, so that two copies never write the same files.
inline const char *const kNotEnded = "もう一つの Kelvoran を終了できませんでした。こちらは終了します。";
// Said when the data folder is held by an import or a restore run from the
// command line: it is working, not hung, and is never offered to be ended.
inline const char *const kCommandRunning =
    "声やバックアップを読み込んでいるところです。終わってから、もう一度 Kelvoran を開いてください。";

// Ends the hung copy `pid` (a frozen one too) and waits, at most two
// seconds, until it has ended.
bool endHungCopy(qint64 pid);

} // namespace kel

#pragma once
// What a start does when a copy of the program is already running: it asks
// that copy, over a local socket, to bring its window to the front, and
// ends. A copy that does not answer within two seconds hangs; the new start
// then says so in one line and offers to end it. Never a start that shows
// nothing.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;
class QWidget;

namespace kel {

class SingleInstance;

// The start-up check: true when this start goes on to open its window (the
// only copy, no place for a lock, or a hung copy the user chose to end);
// false when it should end because the running copy is now in front or the
// user left the hung one alone.
bool startAsOnlyCopy(SingleInstance &instance);

// The running copy's side: answers every start that knocks by calling
// `raise` and replying.
class RunningCopyServer : public QObject {
    Q_OBJECT
public:
    explicit RunningCopyServer(std::function<void()> raise, QObject *parent = nullptr);
    ~RunningCopyServer() override;
    // False when the socket cannot be made (the program runs on, unreachable).
    bool listen(const QString &socketPath);

private:
    void answer();
    QLocalServer *server_;
    std::function<void()> raise_;
};

// Brings `w` to the front, out of the task bar if it was minimised.
void bringToFront(QWidget *w);

// The starting copy's side: true when the running copy answered within
// `timeoutMs` (its window is now in front).
bool askRunningCopyToRaise(const QString &socketPath, int timeoutMs);

// The one-line question about a copy that does not answer; true when the
// user chose to end it.
inline const char *const kHungQuestion = "Kelvoran が応答しません。終了させますか？";
bool askToEndHungCopy();

// Ends the hung copy `pid` and waits (at most two seconds) until it is gone.
bool endHungCopy(qint64 pid);

} // namespace kel

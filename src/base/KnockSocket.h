#pragma once
// The local socket a second start knocks on, so that the running copy
// brings its window to the front. A plain Unix socket file (POSIX calls,
// no networking library), beside the lock it belongs to, in folders only
// the user can write to:
//
//  - the file is the user's alone (mode 0600), and each end checks the
//    other's credentials (SO_PEERCRED): a process of another user is
//    neither answered nor believed;
//  - a knock is one short line, "raise\n" (at most kMaxLine bytes), the
//    answer "raised\n"; anything else closes the connection;
//  - at most kMaxConnections are served at a time, each with a deadline;
//    a connection beyond them is closed at once, an idle one gives way to
//    a newer one;
//  - the listener runs on a thread of its own and asks the window's thread
//    for nothing but the raise itself, at most once per kRaiseGapMs: no
//    flood of connections can slow, grow or end the window.
//
// A start that cannot reach the socket at all (none there, or not the
// user's) never takes the running copy for hung: the lock alone decides.

#include <QString>

#include <functional>
#include <memory>

namespace kel {

inline constexpr int kMaxLine = 64;
inline constexpr int kMaxConnections = 4;
inline constexpr int kLineDeadlineMs = 500;    // to send the line once connected
inline constexpr int kAnswerDeadlineMs = 5000; // for the window to raise itself
inline constexpr int kRaiseGapMs = 500;        // raises closer than this are answered, not repeated

class KnockListener {
public:
    // Hands `work` to the thread that may raise the window; by default it
    // is queued to the application's (main) thread.
    using Post = std::function<void(std::function<void()> work)>;

    // `raise` runs on the thread `post` hands it to.
    explicit KnockListener(std::function<void()> raise, Post post = {});
    ~KnockListener();
    KnockListener(const KnockListener &) = delete;
    KnockListener &operator=(const KnockListener &) = delete;

    // Listens at `path` (a leftover socket file there, a killed copy's, is
    // replaced: the caller holds the lock). False, with the reason in
    // `why`, when it cannot; the program then runs on unreachable.
    bool listen(const QString &path, QString *why = nullptr);
    // Stops answering and removes the socket file, if it is still ours.
    void close();
    bool listening() const;

    // The most connections ever held at once (for the fuzz target).
    int mostConnectionsHeld() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

enum class Knock {
    Answered,    // the running copy raised its window
    NoAnswer,    // it took the knock and did not answer in time: hung
    Unreachable, // nothing (of this user's) listens there, or it is always busy
};

// A start's knock at `path`, waiting at most `timeoutMs` in all. A copy
// started a moment ago listens only once its window is up: connecting is
// tried again until the time is up.
Knock knockOn(const QString &path, int timeoutMs);

} // namespace kel

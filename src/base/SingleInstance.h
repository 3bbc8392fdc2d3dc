#pragma once
// One running copy per user, and one per data folder. The user's lock lives
// in the runtime folder, or in another per-user place when that folder
// cannot take it; the data folder's lock lives in the data folder itself, so
// that copies started with other runtime folders or by other users cannot
// both write it. A lock left by a killed copy is recognised by its dead
// process and taken over. The running copy listens on a socket file beside
// each lock (socketPath(), base/KnockSocket.h) so that a second start of the
// same user can bring its window to the front.

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace kel {

class SingleInstance {
public:
    enum Result {
        Acquired,       // this is the only running copy; held until destruction
        HeldByAnother,  // another copy runs (or hangs); socketPath() reaches it
        Unavailable,    // no place takes a lock: run without one
    };
    Result acquire();
    // The lock of the data folder `folder` (".kelvoran.lock" there), with
    // its socket ".kelvoran.socket" beside it, which a start with another
    // runtime folder reaches too.
    Result acquireDataFolder(const QString &folder);
    // Takes the lock after its holder `pid` has ended (a killed copy may
    // linger as a zombie, which the lock would count as running).
    bool takeOverFrom(qint64 pid);
    // True while this copy holds the lock.
    bool held() const { return lock_ && lock_->isLocked(); }
    // Lets the lock go (its file removed) before the process ends.
    void release() { lock_.reset(); }
    // Where the lock is (or would be) and the socket beside it.
    QString lockPath() const { return lockPath_; }
    QString socketPath() const { return socketPath_; }
    // The process holding the lock when it is another copy of this program
    // (named kProgramFile, still running under that name), or 0.
    qint64 holder() const;
    // True when the holder is this program run as a command that changes
    // the data folder (an import or a restore): it has no window to bring
    // forward and answers no knock, but it is not hung either.
    bool heldByCommand() const;
    // The program's file name, which the lock records for its holder.
    static constexpr const char *kProgramFile = "kelvoran";

    // The folders tried, in order.
    static QStringList lockFolders();

private:
    std::unique_ptr<QLockFile> lock_;
    Result tryAt(const QString &lockPath);
    QString lockPath_;
    QString socketPath_;
};

} // namespace kel

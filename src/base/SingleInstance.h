#pragma once
// One running copy per user. The lock lives in the user's runtime folder, or
// in another per-user place when that folder cannot take it; a lock left by
// a killed copy is recognised by its dead process and taken over. Beside the
// lock, the running copy listens on a local socket (socketPath()) so that a
// second start can bring its window to the front.

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
    // True while this copy holds the lock.
    bool held() const { return lock_ && lock_->isLocked(); }
    // Where the lock is (or would be) and the socket beside it.
    QString lockPath() const { return lockPath_; }
    QString socketPath() const { return lockPath_ + QStringLiteral(".socket"); }
    // The process holding the lock when it is another copy of this program,
    // or 0.
    qint64 holder() const;

    // The folders tried, in order.
    static QStringList lockFolders();

private:
    std::unique_ptr<QLockFile> lock_;
    QString lockPath_;
};

} // namespace kel

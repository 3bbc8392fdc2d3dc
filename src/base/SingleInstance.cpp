#include "base/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace kel {

QStringList SingleInstance::lockFolders()
{
    // All per user: the runtime folder; the user's cache folder; the
    // temporary folder under a name with the user's id.
    QStringList folders;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        folders << runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        folders << cache + QStringLiteral("/kelvoran");
    folders << QDir::tempPath() + QStringLiteral("/kelvoran-%1").arg(::getuid());
    return folders;
}

SingleInstance::Result SingleInstance::acquire()
{
    for (const QString &folder : lockFolders()) {
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
            continue;
        lockPath_ = folder + QStringLiteral("/kelvoran.lock");
        lock_ = std::make_unique<QLockFile>(lockPath_);
        lock_->setStaleLockTime(0); // stale only when its process is gone
        if (lock_->tryLock(0))
            return Acquired;
        if (lock_->error() == QLockFile::LockFailedError)
            return HeldByAnother;
        // This folder refuses the file (read-only, full, not ours): next place.
    }
    lock_.reset();
    lockPath_.clear();
    return Unavailable;
}

qint64 SingleInstance::holder() const
{
    if (!lock_)
        return 0;
    qint64 pid = 0;
    QString host, app;
    if (!lock_->getLockInfo(&pid, &host, &app) || pid == QCoreApplication::applicationPid())
        return 0;
    return app == QCoreApplication::applicationName() ? pid : 0;
}

} // namespace kel

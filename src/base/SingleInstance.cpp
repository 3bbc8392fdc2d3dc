#include "base/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

SingleInstance::Result SingleInstance::tryAt(const QString &lockPath)
{
    lockPath_ = lockPath;
    lock_ = std::make_unique<QLockFile>(lockPath_);
    lock_->setStaleLockTime(0); // stale only when its process is gone
    if (lock_->tryLock(0))
        return Acquired;
    if (lock_->error() == QLockFile::LockFailedError)
        return HeldByAnother;
    return Unavailable;
}

SingleInstance::Result SingleInstance::acquire()
{
    for (const QString &folder : lockFolders()) {
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
            continue;
        const Result r = tryAt(folder + QStringLiteral("/kelvoran.lock"));
        socketPath_ = lockPath_ + QStringLiteral(".socket");
        if (r != Unavailable)
            return r;
        // This folder refuses the file (read-only, full, not ours): next place.
    }
    lock_.reset();
    lockPath_.clear();
    socketPath_.clear();
    return Unavailable;
}

SingleInstance::Result SingleInstance::acquireDataFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return Unavailable;
    socketPath_ = canonical + QStringLiteral("/.kelvoran.socket");
    const Result r = tryAt(canonical + QStringLiteral("/.kelvoran.lock"));
    if (r == Unavailable)
        lock_.reset(); // a read-only folder: nothing can be written there anyway
    return r;
}

bool SingleInstance::takeOverFrom(qint64 pid)
{
    if (!lock_)
        return false;
    qint64 now = 0;
    QString host, app;
    if (lock_->getLockInfo(&now, &host, &app) && now == pid)
        lock_->removeStaleLockFile();
    return lock_->tryLock(0);
}

qint64 SingleInstance::holder() const
{
    if (!lock_)
        return 0;
    qint64 pid = 0;
    QString host, app;
    if (!lock_->getLockInfo(&pid, &host, &app) || pid <= 0 || pid == QCoreApplication::applicationPid())
        return 0;
    // The lock records the file name of the holder's program. Its number
    // may since belong to another program: only a process still running
    // this program's file counts (another user's cannot be looked at).
    if (app != QLatin1String(kProgramFile))
        return 0;
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    if (!exe.isEmpty() && !QFileInfo(exe).fileName().startsWith(QLatin1String(kProgramFile)))
        return 0;
    return pid;
}

bool SingleInstance::heldByCommand() const
{
    const qint64 pid = holder();
    if (pid <= 0)
        return false;
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> args = cmdline.readAll().split('\0');
    return args.contains("--restore") || args.contains("--import-voice");
}

} // namespace kel

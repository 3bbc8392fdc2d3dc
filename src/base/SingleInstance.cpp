#include "base/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace kel {

QString SingleInstance::lockPath()
{
    // XDG_RUNTIME_DIR is per user; without it, a per-user name in the
    // temporary folder keeps other users' copies apart.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(QString::fromLocal8Bit(runtime)).isDir())
        return QString::fromLocal8Bit(runtime) + QStringLiteral("/kelvoran.lock");
    return QDir::tempPath() + QStringLiteral("/kelvoran-%1.lock").arg(::getuid());
}

bool SingleInstance::acquire()
{
    lock_ = std::make_unique<QLockFile>(lockPath());
    lock_->setStaleLockTime(0);   // stale only when its process is gone
    return lock_->tryLock(0);
}

} // namespace kel

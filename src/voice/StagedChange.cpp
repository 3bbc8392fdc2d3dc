#include "voice/StagedChange.h"

#include "base/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kel {
namespace {

const QByteArray kPlanMagic = "kelvoran-staging 1";
// Room left over beyond the new files' bytes: the plan, folder entries, and
// a disk never filled to the last block by this program.
constexpr qint64 kSpareBytes = 256 << 10;

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

void syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Written whole and on the disk, or false with the system's reason.
bool writeSynced(const QString &path, const QByteArray &bytes, QString *error)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += n > 0 ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    if (!ok && error)
        *error = QString::fromLocal8Bit(strerror(errno));
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Step 4, which may run again after a cut: a staged file already moved is
// simply gone from the staging folder.
bool putInPlace(const QString &staging, QString *error)
{
    QFile planFile(staging + QStringLiteral("/plan"));
    if (!planFile.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = planFile.readAll().split('\n');
    if (lines.isEmpty() || lines.first() != kPlanMagic)
        return false;
    bool ok = true;
    QStringList folders;
    for (const QByteArray &line : lines.mid(1)) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 3)
            continue;
        const QString target = QString::fromUtf8(QByteArray::fromPercentEncoding(f[2]));
        folders << QFileInfo(target).absolutePath();
        if (f[1] == "D") {
            if (::unlink(encoded(target).constData()) != 0 && errno != ENOENT)
                ok = false;
            continue;
        }
        const QString staged = staging + QLatin1Char('/') + QString::fromLatin1(f[0]);
        if (!QFileInfo::exists(staged))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (::rename(encoded(staged).constData(), encoded(target).constData()) == 0)
            continue;
        // Another file system (the settings file in ~/.config): copied with
        // the program's checked save, then the staged file goes.
        QFile in(staged);
        const bool copied = errno == EXDEV && in.open(QIODevice::ReadOnly) && !saveFileAtomically(target, in.readAll());
        if (copied)
            QFile::remove(staged);
        else if (error)
            *error = QStringLiteral("「%1」を置けません").arg(target);
        ok = ok && copied;
    }
    folders.removeDuplicates();
    for (const QString &folder : folders)
        syncFolder(folder);
    if (!ok)
        return false; // left for the next start to finish
    QFile::remove(staging + QStringLiteral("/plan"));
    QDir(staging).removeRecursively();
    return true;
}

} // namespace

bool changeAllOrNothing(const QString &dataFolder, const QList<FileChange> &changes, QString *error)
{
    finishCutOffChange(dataFolder);
    qint64 needed = kSpareBytes;
    for (const FileChange &c : changes)
        needed += c.bytes ? c.bytes->size() + 4096 : 0;
    QDir().mkpath(dataFolder);
    const QStorageInfo disk(dataFolder);
    if (disk.isValid() && disk.bytesAvailable() < needed) {
        if (error)
            *error = QStringLiteral("ディスクの空きが足りません（%1 KB 要ります）").arg(needed >> 10);
        return false;
    }
    const QString staging = dataFolder + QLatin1Char('/') + QLatin1String(kStagingFolder);
    QByteArray plan = kPlanMagic + '\n';
    bool ok = QDir().mkpath(staging);
    for (qsizetype i = 0; ok && i < changes.size(); ++i) {
        const FileChange &c = changes[i];
        if (c.bytes)
            ok = writeSynced(staging + QLatin1Char('/') + QString::number(i), *c.bytes, error);
        plan += QByteArray::number(i) + (c.bytes ? "\tP\t" : "\tD\t") + c.target.toUtf8().toPercentEncoding("/") + '\n';
    }
    // The decision: the plan appears whole, or not at all, and only after
    // every staged file is on the disk.
    if (ok)
        syncFolder(staging);
    ok = ok && writeSynced(staging + QStringLiteral("/plan.part"), plan, error)
         && ::rename(encoded(staging + QStringLiteral("/plan.part")).constData(),
                     encoded(staging + QStringLiteral("/plan")).constData()) == 0;
    if (!ok) {
        if (error && error->isEmpty())
            *error = QString::fromLocal8Bit(strerror(errno));
        QDir(staging).removeRecursively();
        return false;
    }
    syncFolder(staging);
    return putInPlace(staging, error);
}

bool finishCutOffChange(const QString &dataFolder)
{
    const QString staging = dataFolder + QLatin1Char('/') + QLatin1String(kStagingFolder);
    if (!QFileInfo(staging).isDir())
        return false;
    if (!putInPlace(staging, nullptr) && !QFileInfo::exists(staging + QStringLiteral("/plan")))
        QDir(staging).removeRecursively();
    return true;
}

} // namespace kel

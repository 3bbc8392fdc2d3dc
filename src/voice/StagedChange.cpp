#include "voice/StagedChange.h"

#include "base/FileErrors.h"
#include "base/SaveFile.h"
#include "base/StoredFile.h"
#include "voice/ArchiveFile.h"
#include "voice/VoiceFolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kel {
namespace {

const QByteArray kPlanMagic = "kelvoran-staging 2";
const QByteArray kPlanEnd = "end";
// Room left over beyond the new files' bytes: the plan, folder entries, and
// a disk never filled to the last block by this program.
constexpr qint64 kSpareBytes = 256 << 10;
// A plan names at most a few thousand files; anything larger is not ours.
constexpr qint64 kMaxPlanBytes = 4 << 20;

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

void syncFolder(const QString &folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Written whole and on the disk, or false with the reason in Japanese.
bool writeSynced(const QString &path, const QByteArray &bytes, QString *error)
{
    const int fd = ::open(encoded(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    bool ok = fd >= 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += n > 0 ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    if (!ok && error)
        *error = japaneseSummary(QString::fromLocal8Bit(strerror(errno)));
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// The SHA-256 of the regular file `path` (a final link not followed), read
// in pieces; nullopt when it is not one.
std::optional<QByteArray> fileSha256(const QString &path)
{
    const int fd = ::open(encoded(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return std::nullopt;
    }
    QFile file;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const bool read = file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) && hash.addData(&file);
    if (!file.isOpen())
        ::close(fd);
    return read ? std::optional<QByteArray>(hash.result().toHex()) : std::nullopt;
}

// The places a plan may name, each a folder and the names it may hold.
struct Place {
    const char *name;
    const char *subfolder; // below the data folder; nullptr: the settings file's folder
    bool textFiles;        // Talk.txt, day.txt and read.txt
};
constexpr Place kPlaces[] = {
    {"data", "", true},
    {"takes", "/voice/takes", false},
    {"generated", "/voice/generated", false},
    {"ini", nullptr, false},
};

QString placeFolder(const Place &place, const BackupPlaces &places)
{
    if (place.subfolder)
        return QDir::cleanPath(places.dataFolder + QLatin1String(place.subfolder));
    return places.iniPath.isEmpty() ? QString() : QFileInfo(places.iniPath).absolutePath();
}

bool isPlainName(const Place &place, const QString &name, const BackupPlaces &places)
{
    if (name.isEmpty() || name.contains(u'/') || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    if (!place.subfolder)
        return name == QFileInfo(places.iniPath).fileName();
    if (place.textFiles
        && (name == QLatin1String("Talk.txt") || name == QLatin1String("day.txt") || name == QLatin1String("read.txt")))
        return true;
    return name.endsWith(QLatin1String(".wav")) && isVoiceName(name.chopped(4));
}

// True when `folder`, as far as it exists, resolves to `root` or a folder
// inside it: a link anywhere on the way that leads out is caught here.
bool resolvesInside(const QString &folder, const QString &root)
{
    const QString realRoot = QFileInfo(root).canonicalFilePath();
    QString existing = folder;
    while (!QFileInfo::exists(existing) && !QFileInfo(existing).isSymLink() && existing != QFileInfo(existing).path())
        existing = QFileInfo(existing).path();
    const QString real = QFileInfo(existing).canonicalFilePath();
    return !realRoot.isEmpty() && !real.isEmpty()
           && (real == realRoot || real.startsWith(realRoot + QLatin1Char('/')));
}

// The target of `place` and `name`, or "" when it is not a plain file of
// the places.
QString resolvedTarget(const Place &place, const QString &name, const BackupPlaces &places)
{
    const QString folder = placeFolder(place, places);
    if (folder.isEmpty() || !isPlainName(place, name, places))
        return {};
    // The settings file's place comes from the program, not from the plan:
    // only the voice's folders could be made links that lead out.
    const QString target = folder + QLatin1Char('/') + name;
    const bool inside = !place.subfolder || resolvesInside(folder, places.dataFolder);
    return inside && isPlainFileOrMissing(target) ? target : QString();
}

// The place and name a change's absolute target is written under in a plan.
std::optional<std::pair<const Place *, QString>> planTarget(const QString &target, const BackupPlaces &places)
{
    const QFileInfo info(target);
    for (const Place &place : kPlaces) {
        const QString folder = placeFolder(place, places);
        if (!folder.isEmpty() && QDir::cleanPath(info.absolutePath()) == folder
            && !resolvedTarget(place, info.fileName(), places).isEmpty())
            return std::pair{&place, info.fileName()};
    }
    return std::nullopt;
}

enum class PlanOutcome { Done, Failed, Void };

// Step 4, which may run again after a cut: a staged file already moved is
// simply gone from the staging folder. Every check is made before the
// first step, so a void plan changes nothing.
PlanOutcome putInPlace(const QString &staging, const BackupPlaces &places, QString *error)
{
    const StoredRead planFile = readStoredFile(staging + QStringLiteral("/plan"), kMaxPlanBytes);
    const std::optional<QList<PlanStep>> steps =
        planFile.status == StoredRead::Read ? readPlan(planFile.bytes, places) : std::nullopt;
    if (!steps)
        return PlanOutcome::Void;
    for (const PlanStep &step : *steps) {
        const QString staged = staging + QLatin1Char('/') + step.staged;
        if (!step.remove && (QFileInfo::exists(staged) || QFileInfo(staged).isSymLink())
            && fileSha256(staged) != step.sha256)
            return PlanOutcome::Void;
    }
    bool ok = true;
    QStringList folders;
    for (const PlanStep &step : *steps) {
        folders << QFileInfo(step.target).absolutePath();
        if (step.remove) {
            if (::unlink(encoded(step.target).constData()) != 0 && errno != ENOENT)
                ok = false;
            continue;
        }
        const QString staged = staging + QLatin1Char('/') + step.staged;
        if (!QFileInfo::exists(staged))
            continue;
        QDir().mkpath(QFileInfo(step.target).absolutePath());
        if (::rename(encoded(staged).constData(), encoded(step.target).constData()) == 0)
            continue;
        // Another file system (the settings file in ~/.config): copied with
        // the program's checked save, then the staged file goes.
        QFile in(staged);
        const bool copied = errno == EXDEV && in.open(QIODevice::ReadOnly) && !saveFileAtomically(step.target, in.readAll());
        if (copied)
            QFile::remove(staged);
        else if (error)
            *error = QStringLiteral("「%1」を置けません").arg(step.target);
        ok = ok && copied;
    }
    folders.removeDuplicates();
    for (const QString &folder : folders)
        syncFolder(folder);
    if (!ok)
        return PlanOutcome::Failed; // left for the next start to finish
    QFile::remove(staging + QStringLiteral("/plan"));
    QDir(staging).removeRecursively();
    return PlanOutcome::Done;
}

QString stagingOf(const BackupPlaces &places)
{
    return places.dataFolder + QLatin1Char('/') + QLatin1String(kStagingFolder);
}

// A void plan's folder, renamed so that it is neither carried out nor
// removed: whoever looks into the data folder can see what it held.
void setAside(const QString &staging)
{
    const QString aside = staging + QStringLiteral("-void-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (::rename(encoded(staging).constData(), encoded(aside).constData()) != 0)
        qWarning("kelvoran: cannot set %s aside: %s", qPrintable(staging), strerror(errno));
    qWarning("kelvoran: a staging plan that is not this program's was set aside as %s", qPrintable(aside));
}

} // namespace

std::optional<QList<PlanStep>> readPlan(const QByteArray &plan, const BackupPlaces &places)
{
    const qsizetype endAt = plan.lastIndexOf('\n' + kPlanEnd + '\t');
    if (endAt < 0 || !plan.endsWith('\n') || !plan.startsWith(kPlanMagic + '\n'))
        return std::nullopt;
    const QByteArray body = plan.left(endAt + 1);
    if (plan.mid(endAt + 1) != kPlanEnd + '\t' + sha256Hex(body) + '\n')
        return std::nullopt;
    QList<PlanStep> steps;
    const QList<QByteArray> lines = body.chopped(1).split('\n');
    for (const QByteArray &line : lines.mid(1)) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 5 || (f[1] != "P" && f[1] != "D"))
            return std::nullopt;
        bool number = false;
        f[0].toUInt(&number);
        const bool remove = f[1] == "D";
        if (!number || f[0] != QByteArray::number(f[0].toUInt()) || (remove ? f[4] != "-" : f[4].size() != 64))
            return std::nullopt;
        const Place *place = nullptr;
        for (const Place &p : kPlaces)
            if (f[2] == p.name)
                place = &p;
        const QString target = place ? resolvedTarget(*place, QString::fromUtf8(f[3]), places) : QString();
        if (target.isEmpty())
            return std::nullopt;
        steps.append({QString::fromLatin1(f[0]), target, remove, remove ? QByteArray() : f[4]});
    }
    return steps;
}

bool changeAllOrNothing(const BackupPlaces &places, const QList<FileChange> &changes, QString *error)
{
    QDir().mkpath(places.dataFolder);
    finishCutOffChange(places);
    qint64 needed = kSpareBytes;
    QByteArray plan = kPlanMagic + '\n';
    for (qsizetype i = 0; i < changes.size(); ++i) {
        const FileChange &c = changes[i];
        const auto target = planTarget(c.target, places);
        if (!target) {
            qWarning("kelvoran: refused to change %s: not a plain file of the data folder", qPrintable(c.target));
            if (error)
                *error = QStringLiteral("「%1」がデータフォルダの中のふつうのファイルではありません").arg(QFileInfo(c.target).fileName());
            return false;
        }
        needed += c.bytes ? c.bytes->size() + 4096 : 0;
        plan += QByteArray::number(i) + (c.bytes ? "\tP\t" : "\tD\t") + target->first->name + '\t'
                + target->second.toUtf8() + '\t' + (c.bytes ? sha256Hex(*c.bytes) : QByteArray("-")) + '\n';
    }
    plan += kPlanEnd + '\t' + sha256Hex(plan) + '\n';
    const QStorageInfo disk(places.dataFolder);
    if (disk.isValid() && disk.bytesAvailable() < needed) {
        if (error)
            *error = QStringLiteral("ディスクの空きが足りません（%1 KB 要ります）").arg(needed >> 10);
        return false;
    }
    const QString staging = stagingOf(places);
    bool ok = QDir().mkpath(staging);
    for (qsizetype i = 0; ok && i < changes.size(); ++i)
        if (changes[i].bytes)
            ok = writeSynced(staging + QLatin1Char('/') + QString::number(i), *changes[i].bytes, error);
    // The decision: the plan appears whole, or not at all, and only after
    // every staged file is on the disk.
    if (ok)
        syncFolder(staging);
    ok = ok && writeSynced(staging + QStringLiteral("/plan.part"), plan, error)
         && ::rename(encoded(staging + QStringLiteral("/plan.part")).constData(),
                     encoded(staging + QStringLiteral("/plan")).constData()) == 0;
    if (!ok) {
        if (error && error->isEmpty())
            *error = japaneseSummary(QString::fromLocal8Bit(strerror(errno)));
        QDir(staging).removeRecursively();
        return false;
    }
    syncFolder(staging);
    switch (putInPlace(staging, places, error)) {
    case PlanOutcome::Done:
        return true;
    case PlanOutcome::Failed:
        return false;
    case PlanOutcome::Void:
        break;
    }
    // A place changed between the checks above and now (a link put in):
    // nothing was done.
    setAside(staging);
    if (error)
        *error = setAsideNotice();
    return false;
}

CutOffChange finishCutOffChange(const BackupPlaces &places)
{
    const QString staging = stagingOf(places);
    const QFileInfo info(staging);
    if (!info.exists() && !info.isSymLink())
        return CutOffChange::None;
    // Only a real folder is looked into: removing the contents of a link
    // would remove whatever it leads to.
    if (info.isSymLink() || !info.isDir()) {
        setAside(staging);
        return CutOffChange::SetAside;
    }
    const bool decided = QFileInfo::exists(staging + QStringLiteral("/plan"))
                         || QFileInfo(staging + QStringLiteral("/plan")).isSymLink();
    if (!decided) {
        QDir(staging).removeRecursively();
        return CutOffChange::Finished;
    }
    if (putInPlace(staging, places, nullptr) != PlanOutcome::Void)
        return CutOffChange::Finished;
    setAside(staging);
    return CutOffChange::SetAside;
}

QString setAsideNotice()
{
    return QStringLiteral("データフォルダに、このプログラムが書いたものではない変更の予定がありました。"
                          "何も変えずに「%1-void-…」として脇に置きました。").arg(QLatin1String(kStagingFolder));
}

} // namespace kel

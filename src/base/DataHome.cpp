#include "base/DataHome.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sys/statvfs.h>
#include <unistd.h>

namespace kel {
namespace {

QString cleanFolder(const QString &path)
{
    QString clean = QDir::cleanPath(QDir(path).absolutePath());
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    return clean;
}

} // namespace

DataPlaces DataPlaces::fromEnvironment(const QString &homeOption, const QString &programDir)
{
    return {homeOption, qEnvironmentVariable("KELVORAN_HOME"), programDir,
            qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()};
}

QStringList dataHomeCandidates(const DataPlaces &places, const FolderProbe &probe)
{
    QStringList candidates;
    const auto add = [&](const QString &path) {
        const QString folder = cleanFolder(path);
        if (!candidates.contains(folder))
            candidates.append(folder);
    };
    if (!places.homeOption.isEmpty())
        add(places.homeOption);
    if (!places.envHome.isEmpty())
        add(places.envHome);
    if (!places.programDir.isEmpty() && probe.exists(places.programDir + QStringLiteral("/Talk.txt")))
        add(places.programDir);
    // A relative XDG_DATA_HOME is invalid and is to be ignored.
    if (QDir::isAbsolutePath(places.xdgDataHome))
        add(places.xdgDataHome + QStringLiteral("/kelvoran"));
    add(places.userHome + QStringLiteral("/.local/share/kelvoran"));
    return candidates;
}

DataHome chooseDataHome(const DataPlaces &places, const FolderProbe &probe)
{
    const QStringList candidates = dataHomeCandidates(places, probe);
    DataHome home;
    home.wanted = candidates.first();
    for (const QString &folder : candidates) {
        if (probe.canStore(folder)) {
            home.folder = folder;
            return home;
        }
    }
    // Nowhere accepts a file: read what the wanted place holds; every store
    // then reports its own failure.
    home.folder = home.wanted;
    home.usable = false;
    return home;
}

FolderProbe realFolderProbe()
{
    FolderProbe probe;
    probe.exists = [](const QString &file) { return QFileInfo(file).isFile(); };
    probe.canStore = [](const QString &folder) {
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir())
            return false;
        // Permission bits say little (root may write anywhere, a read-only
        // disk refuses everyone): only a written file proves it.
        QTemporaryFile test(folder + QStringLiteral("/.kelvoran-probe-XXXXXX"));
        return test.open();
    };
    return probe;
}

FolderProbe lookingFolderProbe()
{
    FolderProbe probe;
    probe.exists = [](const QString &file) { return QFileInfo(file).isFile(); };
    probe.canStore = [](const QString &folder) {
        QString at = cleanFolder(folder);
        while (!QFileInfo::exists(at) && at != QLatin1String("/"))
            at = QFileInfo(at).absolutePath();
        if (!QFileInfo(at).isDir())
            return false; // a file in the way
        const QByteArray path = QFile::encodeName(at);
        struct statvfs disk = {};
        return ::access(path.constData(), W_OK | X_OK) == 0 && ::statvfs(path.constData(), &disk) == 0
               && !(disk.f_flag & ST_RDONLY);
    };
    return probe;
}

QString shortPath(const QString &path, const QString &userHome)
{
    const QString home = cleanFolder(userHome);
    if (home.size() > 1 && (path == home || path.startsWith(home + QLatin1Char('/'))))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

} // namespace kel

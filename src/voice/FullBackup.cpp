#include "voice/FullBackup.h"

#include "base/SettingsStore.h"
#include "voice/ArchiveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace kel {
namespace {

const QByteArray kMagic = "kelvoran-backup 1";
const QByteArray kTalk = "Talk.txt", kDay = "day.txt", kRead = "read.txt", kIni = "Talk.ini", kVoice = "voice.tar.gz";

FullBackup refused(const QString &why)
{
    FullBackup b;
    b.error = QStringLiteral("バックアップを読めません：%1。何も変えていません。").arg(why);
    return b;
}

std::optional<QByteArray> fileBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

// The settings file in the one form the program writes it: what a restore
// puts back byte for byte.
std::optional<QByteArray> settingsBytes(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return iniText(readIniGroups(path));
}

// A settings file this program wrote: read back, it writes the same bytes.
bool isSettingsText(const QByteArray &bytes)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Talk.ini")));
    return dir.isValid() && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush()
           && iniText(readIniGroups(f.fileName())) == bytes;
}

} // namespace

bool writeFullBackup(const BackupPlaces &places, const QString &file, QString *error, QString *summary)
{
    const std::optional<QString> target = backupTarget(file, error);
    if (!target)
        return false;
    int sounds = 0;
    const std::optional<QByteArray> voice = voiceArchive(VoiceFolder(places.dataFolder), error, &sounds);
    if (!voice)
        return false;
    ArchiveEntries files;
    QStringList held;
    const auto add = [&](const QByteArray &name, const std::optional<QByteArray> &bytes) {
        if (bytes) {
            files.append({name, *bytes});
            held << QString::fromLatin1(name);
        }
    };
    add(kTalk, fileBytes(places.dataFolder + QStringLiteral("/Talk.txt")));
    add(kDay, fileBytes(places.dataFolder + QStringLiteral("/day.txt")));
    add(kRead, fileBytes(places.dataFolder + QStringLiteral("/read.txt")));
    add(kIni, settingsBytes(places.iniPath));
    files.append({kVoice, *voice});
    QByteArray manifest = kMagic + '\n';
    for (const auto &[name, bytes] : files)
        manifest += name + '\t' + QByteArray::number(bytes.size()) + '\t' + sha256Hex(bytes) + '\n';
    files.prepend({kManifestName, manifest});
    const std::optional<QByteArray> out = tarGz(files, error);
    if (!out || !writeWhole(*target, *out, error))
        return false;
    if (summary)
        *summary = QStringLiteral("%1、声 %2 文字").arg(held.join(QStringLiteral("、"))).arg(sounds);
    return true;
}

FullBackup readFullBackup(const QString &file)
{
    QString why;
    const std::optional<QByteArray> bytes = readRegularFile(file, kMaxBackupBytes, &why);
    return bytes ? readFullBackupBytes(*bytes) : refused(why);
}

FullBackup readFullBackupBytes(const QByteArray &bytes)
{
    QString why;
    const std::optional<ArchiveFiles> entries = readTarGz(
        bytes,
        [](const QByteArray &name) {
            return name == kManifestName || name == kTalk || name == kDay || name == kRead || name == kIni
                   || name == kVoice;
        },
        6, kMaxBackupBytes, &why);
    const std::optional<QList<QByteArray>> lines = entries ? manifestLines(*entries, kMagic) : std::nullopt;
    if (!entries)
        return refused(why);
    if (!lines)
        return refused(QStringLiteral("このプログラムのバックアップではありません"));
    qsizetype listed = 1;
    for (const QByteArray &line : *lines) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() != 3 || !entries->contains(f[0]) || f[0] == kManifestName)
            return refused(QStringLiteral("目録が壊れています"));
        const QByteArray &data = (*entries)[f[0]];
        if (QByteArray::number(data.size()) != f[1] || sha256Hex(data) != f[2])
            return refused(QStringLiteral("「%1」が壊れています").arg(QString::fromLatin1(f[0])));
        ++listed;
    }
    if (listed != entries->size() || !entries->contains(kVoice))
        return refused(QStringLiteral("目録と中身が合いません"));
    FullBackup backup;
    backup.voice = readVoiceBackupBytes(entries->value(kVoice));
    if (!backup.voice.ok)
        return refused(backup.voice.error);
    if (entries->contains(kIni) && !isSettingsText(entries->value(kIni)))
        return refused(QStringLiteral("Talk.ini が設定の形ではありません"));
    for (auto [name, slot] : {std::pair{kTalk, &backup.talk}, std::pair{kDay, &backup.day}, std::pair{kRead, &backup.read},
                              std::pair{kIni, &backup.ini}})
        if (entries->contains(name))
            *slot = entries->value(name);
    backup.ok = true;
    return backup;
}

namespace {

// Each file the backup holds, with where it goes.
QList<FileChange> plainFiles(const BackupPlaces &places, const FullBackup &backup)
{
    QList<FileChange> out;
    if (backup.talk)
        out.append({places.dataFolder + QStringLiteral("/Talk.txt"), backup.talk});
    if (backup.day)
        out.append({places.dataFolder + QStringLiteral("/day.txt"), backup.day});
    if (backup.read)
        out.append({places.dataFolder + QStringLiteral("/read.txt"), backup.read});
    if (backup.ini)
        out.append({places.iniPath, backup.ini});
    return out;
}

} // namespace

QStringList replacedByRestore(const BackupPlaces &places, const FullBackup &backup)
{
    QStringList out;
    for (const FileChange &c : plainFiles(places, backup))
        if (const std::optional<QByteArray> now = fileBytes(c.target); now && now != c.bytes)
            out << QFileInfo(c.target).fileName();
    for (const QString &ch : ownRecordingsOverwritten(VoiceFolder(places.dataFolder), backup.voice))
        out << ch + QStringLiteral(".wav");
    return out;
}

bool restoreFullBackup(const BackupPlaces &places, const FullBackup &backup, QString *error)
{
    // The settings file goes last: it may live on another disk, where it is
    // copied rather than renamed, the one step that can still fail.
    QList<FileChange> changes = voiceChanges(VoiceFolder(places.dataFolder), backup.voice);
    changes += plainFiles(places, backup);
    return changeAllOrNothing(places.dataFolder, changes, error);
}

} // namespace kel

#include "voice/FullBackup.h"

#include "base/FileErrors.h"
#include "base/SettingsStore.h"
#include "base/StoredFile.h"
#include "voice/ArchiveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

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
    StoredRead read = readStoredFile(path, storedFileLimit(path));
    if (read.status != StoredRead::Read)
        return std::nullopt;
    return std::move(read.bytes);
}

// The settings file in the one form the program writes it: what a restore
// puts back byte for byte.
std::optional<QByteArray> settingsBytes(const QString &path)
{
    const std::optional<QByteArray> bytes = fileBytes(path);
    if (!bytes)
        return std::nullopt;
    return iniText(iniGroupsOf(*bytes));
}

// A settings file this program wrote: read back, it writes the same bytes.
bool isSettingsText(const QByteArray &bytes)
{
    return iniText(iniGroupsOf(bytes)) == bytes;
}

// The stored files in a backup, each with the most it may hold.
struct StoredEntry {
    QByteArray name;
    qint64 limit;
};
const StoredEntry kStoredEntries[] = {{kTalk, kMaxListFileBytes}, {kDay, kMaxListFileBytes}, {kIni, kMaxSettingsFileBytes}};

// A stored file that exists but is not backed up: the program would not
// read it either (a link, a FIFO, a file over its limit).
QString notBackedUp(const QString &path)
{
    const StoredRead::Status status = readStoredFile(path, storedFileLimit(path)).status;
    return status == StoredRead::Missing || status == StoredRead::Read ? QString()
                                                                        : QFileInfo(path).fileName();
}

} // namespace

bool writeFullBackup(const BackupPlaces &places, const QString &file, QString *error, QString *summary)
{
    const std::optional<QString> target = backupTarget(file, error);
    if (!target)
        return false;
    VoiceArchiveCount sounds;
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
    if (summary) {
        held << QStringLiteral("声 %1 文字").arg(sounds.sounds);
        QStringList skipped;
        for (const QString &path : {places.dataFolder + QStringLiteral("/Talk.txt"),
                                    places.dataFolder + QStringLiteral("/day.txt"), places.iniPath})
            if (const QString name = notBackedUp(path); !name.isEmpty())
                skipped << name;
        *summary = held.join(QStringLiteral("、")) + leftOutNote(sounds.leftOut)
                   + (skipped.isEmpty() ? QString()
                                        : QStringLiteral("（読めないため入れなかったファイル：%1）")
                                              .arg(skipped.join(QStringLiteral("、"))));
    }
    return true;
}

QString backupFileName(QDate day)
{
    return QStringLiteral("kelvoran-%1.tar.gz").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

FullBackup readFullBackup(const QString &file)
{
    QString why;
    const std::optional<QByteArray> bytes = readRegularFile(file, kMaxBackupBytes, &why);
    return bytes ? readFullBackupBytes(*bytes) : refused(japaneseWords(why));
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
        6, kMaxBackupBytes, &why, [](const QByteArray &name) {
            for (const StoredEntry &e : kStoredEntries)
                if (e.name == name)
                    return e.limit;
            return name == kVoice ? kMaxVoiceArchiveBytes : name == kRead ? kMaxListFileBytes : kMaxBackupBytes;
        });
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
        return refused(backup.voice.reason);
    for (const StoredEntry &e : kStoredEntries)
        if (entries->value(e.name).size() > e.limit)
            return refused(QStringLiteral("「%1」が %2 MB を超えています")
                               .arg(QString::fromLatin1(e.name), megabytes(e.limit)));
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
    return changeAllOrNothing(places, changes, error);
}

} // namespace kel

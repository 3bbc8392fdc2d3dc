#include "voice/VoiceArchive.h"

#include "base/FileErrors.h"
#include "speech/MoraHeights.h"
#include "speech/WavCodec.h"
#include "speech/WavName.h"
#include "voice/ArchiveFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace kel {
namespace {

const QByteArray kMagic = "kelvoran-voice 1";
constexpr int kMaxEntries = 4000;
// Entries are numbered in three digits.
constexpr int kMaxIndex = 999;
// A sound placed by hand has no take: its two take fields read "0" and "-".
const QByteArray kNoTake = "-";

QByteArray entryName(const char *folder, int index) { return QByteArray(folder) + '/' + QByteArray::number(index).rightJustified(3, '0') + ".wav"; }

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

VoiceBackup refused(const QString &why)
{
    VoiceBackup b;
    b.reason = why;
    b.error = QStringLiteral("声のバックアップを読めません：%1。何も変えていません。").arg(why);
    return b;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

std::optional<QByteArray> voiceArchive(const VoiceFolder &folder, QString *error, VoiceArchiveCount *count)
{
    // Room kept for the manifest and the archive's own headers, so that what
    // is written here is never over what a restore accepts.
    constexpr qint64 kMostSoundBytes = kMaxVoiceArchiveBytes - (qint64(1) << 20);
    QByteArray manifest = kMagic + '\n';
    ArchiveEntries files;
    VoiceArchiveCount counted;
    qint64 total = 0;
    int entries = 0;
    for (const QString &ch : folder.ownSounds()) {
        const std::optional<QByteArray> sound = usableSound(folder.soundPath(ch));
        const bool hasTake = QFileInfo::exists(folder.takePath(ch));
        const std::optional<QByteArray> take = hasTake ? usableSound(folder.takePath(ch)) : QByteArray();
        if (!sound || !take || total + sound->size() + take->size() > kMostSoundBytes || entries > kMaxIndex) {
            counted.leftOut << ch;
            continue;
        }
        total += sound->size() + take->size();
        const int index = entries++;
        counted.sounds += heightOf(ch).isEmpty() ? 1 : 0;
        manifest += QByteArray::number(index) + '\t' + ch.toUtf8() + '\t' + QByteArray::number(sound->size()) + '\t'
                    + sha256Hex(*sound) + '\t' + QByteArray::number(take->size()) + '\t'
                    + (hasTake ? sha256Hex(*take) : kNoTake) + '\n';
        files.append({entryName("sounds", index), *sound});
        if (hasTake)
            files.append({entryName("takes", index), *take});
    }
    if (!counted.leftOut.isEmpty())
        qWarning("kelvoran: sounds left out of the voice archive: %s", qPrintable(counted.leftOut.join(u' ')));
    files.prepend({kManifestName, manifest});
    if (count)
        *count = counted;
    return tarGz(files, error);
}

QString leftOutNote(const QStringList &leftOut)
{
    if (leftOut.isEmpty())
        return {};
    QStringList shown;
    for (const QString &ch : leftOut)
        shown << printable(ch);
    return QStringLiteral("（大きすぎるか使えない WAV のため入れなかった声：%1）").arg(shown.join(QStringLiteral("、")));
}

bool exportVoice(const VoiceFolder &folder, const QString &file, QString *error, VoiceArchiveCount *count)
{
    const std::optional<QString> target = backupTarget(file, error);
    if (!target)
        return false;
    const std::optional<QByteArray> out = voiceArchive(folder, error, count);
    return out && writeWhole(*target, *out, error);
}

VoiceBackup readVoiceBackup(const QString &file)
{
    QString why;
    const std::optional<QByteArray> bytes = readRegularFile(file, kMaxVoiceArchiveBytes, &why);
    return bytes ? readVoiceBackupBytes(*bytes) : refused(japaneseWords(why));
}

VoiceBackup readVoiceBackupBytes(const QByteArray &bytes)
{
    static const QRegularExpression ownName(QStringLiteral("^(sounds|takes)/[0-9]{3}\\.wav$"));
    QString why;
    const std::optional<ArchiveFiles> entries = readTarGz(
        bytes, [](const QByteArray &name) { return name == kManifestName || ownName.match(QString::fromUtf8(name)).hasMatch(); },
        kMaxEntries, kMaxVoiceArchiveBytes, &why,
        [](const QByteArray &name) { return name == kManifestName ? kMaxVoiceArchiveBytes : kMaxSoundFileBytes; });
    const std::optional<QList<QByteArray>> lines = entries ? manifestLines(*entries, kMagic) : std::nullopt;
    if (!entries)
        return refused(why);
    if (!lines)
        return refused(QStringLiteral("このプログラムの声のバックアップではありません"));
    VoiceBackup backup;
    qsizetype accounted = 1;
    QStringList seen;
    for (const QByteArray &line : *lines) {
        const QList<QByteArray> f = line.split('\t');
        bool indexOk = false;
        const int index = f.size() == 6 ? f[0].toInt(&indexOk) : -1;
        const QString ch = f.size() == 6 ? QString::fromUtf8(f[1]) : QString();
        if (!indexOk || index < 0 || index > kMaxIndex || seen.contains(ch))
            return refused(QStringLiteral("目録が壊れています"));
        if (!isVoiceName(ch))
            return refused(QStringLiteral("声にない名前「%1」があります").arg(printable(ch)));
        seen << ch;
        const bool hasTake = f[5] != kNoTake;
        const QByteArray sound = entries->value(entryName("sounds", index));
        const QByteArray take = entries->value(entryName("takes", index));
        if (QByteArray::number(sound.size()) != f[2] || sha256Hex(sound) != f[3]
            || (hasTake && (QByteArray::number(take.size()) != f[4] || sha256Hex(take) != f[5]))
            || (!hasTake && (f[4] != "0" || entries->contains(entryName("takes", index)))))
            return refused(QStringLiteral("「%1」の録音が壊れています").arg(ch));
        for (const QByteArray *wav : {&sound, hasTake ? &take : nullptr}) {
            QString bad;
            if (wav && !decodeWav(*wav, &bad))
                return refused(soundRefusal((wav == &take ? QStringLiteral("voice/takes/") : QString()) + ch + QStringLiteral(".wav"), bad));
        }
        backup.recordings.append({ch, sound, hasTake ? take : QByteArray()});
        accounted += hasTake ? 2 : 1;
    }
    if (accounted != entries->size())
        return refused(QStringLiteral("目録にないファイルがあります"));
    backup.ok = true;
    return backup;
}

qsizetype VoiceBackup::characters() const
{
    return std::count_if(recordings.begin(), recordings.end(),
                         [](const VoiceRecording &r) { return heightOf(r.character).isEmpty(); });
}

QStringList ownRecordingsOverwritten(const VoiceFolder &folder, const VoiceBackup &backup)
{
    QStringList out;
    for (const VoiceRecording &r : backup.recordings)
        if (heightOf(r.character).isEmpty() && QFileInfo(folder.soundPath(r.character)).isFile()
            && readAll(folder.soundPath(r.character)) != r.sound)
            out << r.character;
    return out;
}

QList<FileChange> voiceChanges(const VoiceFolder &folder, const VoiceBackup &backup)
{
    QList<FileChange> changes;
    for (const VoiceRecording &r : backup.recordings) {
        const QString sound = folder.soundPath(r.character);
        if (r.take.isEmpty()) {
            changes.append({folder.takePath(r.character), std::nullopt});
        } else {
            // A sound without a take is put aside once, so that "元に戻す"
            // can bring it back.
            if (QFileInfo(sound).isFile() && !QFileInfo(folder.takePath(r.character)).isFile()
                && !QFileInfo::exists(folder.backupPath(r.character)))
                changes.append({folder.backupPath(r.character), readAll(sound)});
            changes.append({folder.takePath(r.character), r.take});
        }
        changes.append({sound, r.sound});
        for (const bool high : {true, false})
            if (const QString height = heightPath(sound, high);
                heightOf(r.character).isEmpty() && QFileInfo(height).isFile()
                && std::none_of(backup.recordings.begin(), backup.recordings.end(), [&](const VoiceRecording &o) {
                       return folder.soundPath(o.character) == height;
                   }))
                changes.append({height, std::nullopt});
    }
    return changes;
}

bool importVoice(VoiceFolder &folder, const VoiceBackup &backup, QString *error)
{
    return changeAllOrNothing({folder.folder(), {}}, voiceChanges(folder, backup), error);
}

} // namespace kel

#include "voice/VoiceCommand.h"

#include "base/FileErrors.h"
#include "base/SingleInstance.h"
#include "speech/WavName.h"
#include "voice/FullBackup.h"
#include "voice/StagedChange.h"

#include <QFileInfo>

#include <cstdio>

namespace kel {
namespace {

int say(int status, const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), status ? stderr : stdout);
    return status;
}

QString refusedOver(const QStringList &files)
{
    return QStringLiteral("%1 を置き換えることになります。置き換えるときは --force を付けてください。何も変えていません。")
        .arg(files.join(QStringLiteral("、")));
}

// A backup written over an older one would lose it for good.
int refusedExisting(const QString &file)
{
    return say(1, QStringLiteral("%1 はもうあります。上書きするときは --force を付けてください。何も変えていません。")
                      .arg(printable(file)));
}

int restoreCommand(const StartRequest &req, const BackupPlaces &places)
{
    const FullBackup backup = readFullBackup(req.restore);
    if (!backup.ok)
        return say(1, backup.error);
    if (const QStringList replaced = replacedByRestore(places, backup); !replaced.isEmpty() && !req.force)
        return say(1, refusedOver(replaced));
    QString error;
    if (!restoreFullBackup(places, backup, &error))
        return say(1, QStringLiteral("元に戻せませんでした：%1。何も変えていません。").arg(japaneseWords(error)));
    return say(0, QStringLiteral("%1 から元に戻しました。").arg(printable(req.restore)));
}

} // namespace

bool isBackupCommand(const StartRequest &req)
{
    return !req.exportVoice.isEmpty() || !req.importVoice.isEmpty() || !req.backup.isEmpty() || !req.restore.isEmpty();
}

int runVoiceCommand(const StartRequest &req, const QString &dataFolder, const QString &iniPath)
{
    VoiceFolder folder(dataFolder);
    QString error;
    for (const QString &target : {req.backup, req.exportVoice})
        if (!target.isEmpty() && QFileInfo::exists(target) && !req.force)
            return refusedExisting(target);
    if (!req.backup.isEmpty()) {
        QString summary;
        if (!writeFullBackup({dataFolder, iniPath}, req.backup, &error, &summary))
            return say(1, QStringLiteral("バックアップを書けませんでした：%1").arg(japaneseWords(error)));
        return say(0, QStringLiteral("%1 を %2 に書きました。").arg(summary, printable(req.backup)));
    }
    if (!req.restore.isEmpty())
        return restoreCommand(req, {dataFolder, iniPath});
    if (!req.exportVoice.isEmpty()) {
        VoiceArchiveCount count;
        if (!exportVoice(folder, req.exportVoice, &error, &count))
            return say(1, QStringLiteral("書き出せませんでした：%1").arg(japaneseWords(error)));
        return say(0, QStringLiteral("%1 文字の声を %2 に書き出しました。%3")
                          .arg(count.sounds)
                          .arg(printable(req.exportVoice), leftOutNote(count.leftOut)));
    }
    const VoiceBackup backup = readVoiceBackup(req.importVoice);
    if (!backup.ok)
        return say(1, backup.error);
    if (const QStringList own = ownRecordingsOverwritten(folder, backup); !own.isEmpty() && !req.force)
        return say(1, QStringLiteral("自分の声の録音（%1）を上書きすることになります。上書きするときは --force を付けてください。何も変えていません。")
                          .arg(own.join(QStringLiteral("、"))));
    if (!importVoice(folder, backup, &error))
        return say(1, QStringLiteral("読み込めませんでした：%1。何も変えていません。").arg(japaneseWords(error)));
    return say(0, QStringLiteral("%1 文字の声を読み込みました。").arg(backup.characters()));
}

int runVoiceCommandLocked(const StartRequest &req, const QString &dataFolder, const QString &iniPath)
{
    const bool writes = !req.importVoice.isEmpty() || !req.restore.isEmpty();
    SingleInstance lock;
    const SingleInstance::Result r = lock.acquireDataFolder(dataFolder);
    if (r == SingleInstance::HeldByAnother) {
        // The running copy owns any change in flight; finishing it here
        // would cut into it, and writing would change files under it.
        if (writes)
            return say(1, QString::fromUtf8(kCloseKelvoranFirst));
        return runVoiceCommand(req, dataFolder, iniPath);
    }
    if (finishCutOffChange({dataFolder, iniPath}) == CutOffChange::SetAside)
        say(1, setAsideNotice());
    if (!writes)
        lock = SingleInstance(); // a window may open while this one reads
    return runVoiceCommand(req, dataFolder, iniPath);
}

} // namespace kel

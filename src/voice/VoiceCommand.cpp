#include "voice/VoiceCommand.h"

#include "voice/VoiceArchive.h"

#include <cstdio>

namespace kel {
namespace {

int say(int status, const QString &line)
{
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), status ? stderr : stdout);
    return status;
}

} // namespace

int runVoiceCommand(const StartRequest &req, const QString &dataFolder)
{
    VoiceFolder folder(dataFolder);
    QString error;
    if (!req.exportVoice.isEmpty()) {
        int count = 0;
        if (!exportVoice(folder, req.exportVoice, &error, &count))
            return say(1, QStringLiteral("書き出せませんでした：%1").arg(error));
        return say(0, QStringLiteral("%1 文字の声を %2 に書き出しました。").arg(count).arg(req.exportVoice));
    }
    const VoiceBackup backup = readVoiceBackup(req.importVoice);
    if (!backup.ok)
        return say(1, backup.error);
    if (const QStringList own = ownRecordingsOverwritten(folder, backup); !own.isEmpty() && !req.force)
        return say(1, QStringLiteral("自分の声の録音（%1）を上書きすることになります。上書きするときは --force を付けてください。何も変えていません。")
                          .arg(own.join(QStringLiteral("、"))));
    if (!importVoice(folder, backup, &error))
        return say(1, QStringLiteral("読み込みの途中で書けなくなりました：%1").arg(error));
    return say(0, QStringLiteral("%1 文字の声を読み込みました。").arg(backup.recordings.size()));
}

} // namespace kel

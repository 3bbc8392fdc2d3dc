#include "voice/TakeHeights.h"

#include "speech/MoraHeights.h"

#include <QFile>

namespace kel {

TakeHeights keepTakeHeights(const VoiceFolder &folder, const QString &ch, const QByteArray &sound, QString *error)
{
    if (!isVoiceName(ch + QStringLiteral(".high")))
        return TakeHeights::NotMora;
    const QString high = folder.soundPath(ch + QStringLiteral(".high")), low = folder.soundPath(ch + QStringLiteral(".low"));
    const std::optional<MadeHeights> made = makeHeights(sound);
    if (made && writeWhole(high, made->high, error) && writeWhole(low, made->low, error))
        return TakeHeights::Made;
    QFile::remove(high);
    QFile::remove(low);
    return made ? TakeHeights::Failed : TakeHeights::OneOnly;
}

QString takeHeightsNote(TakeHeights result)
{
    switch (result) {
    case TakeHeights::OneOnly:
        return QStringLiteral("声の高さを聞き取れなかったので、高い音・低い音は作っていません（高さは一つのままです）。");
    case TakeHeights::Failed:
        return QStringLiteral("高い音・低い音を書き込めませんでした（高さは一つのままです）。");
    default:
        return {};
    }
}

} // namespace kel

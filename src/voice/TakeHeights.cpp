#include "voice/TakeHeights.h"

#include "speech/MoraHeights.h"

#include <QFile>
#include <QFileInfo>

namespace kel {

TakeHeights keepTakeHeights(const VoiceFolder &folder, const QString &ch, const QByteArray &sound, QString *error)
{
    if (!isVoiceName(ch + QStringLiteral(".high")))
        return TakeHeights::NotMora;
    const std::optional<MadeHeights> heights = makeHeights(sound);
    const auto recorded = [&](int step) { return QFileInfo(folder.takePath(heightName(ch, step))).isFile(); };
    bool written = heights.has_value();
    for (const int step : {1, -1})
        if (!recorded(step) && written)
            written = writeWhole(folder.soundPath(heightName(ch, step)), step > 0 ? heights->high : heights->low, error);
    if (written)
        return TakeHeights::Made;
    // No made height is left beside a sound it was not made from.
    for (const int step : {1, -1})
        if (!recorded(step))
            QFile::remove(folder.soundPath(heightName(ch, step)));
    return heights ? TakeHeights::Failed : TakeHeights::OneOnly;
}

QString heightName(const QString &ch, int step)
{
    return step == 0 ? ch : ch + (step > 0 ? QStringLiteral(".high") : QStringLiteral(".low"));
}

QString heightWords(int step)
{
    return step == 0 ? QString() : step > 0 ? QStringLiteral("の高い音") : QStringLiteral("の低い音");
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

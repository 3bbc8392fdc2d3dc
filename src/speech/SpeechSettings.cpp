#include "speech/SpeechSettings.h"

#include "speech/SpokenTimeline.h"

namespace kel {
namespace {

int wholeIn(const std::optional<QString> &text, int low, int high, int fallback)
{
    bool ok = false;
    const int v = text ? text->trimmed().toInt(&ok) : 0;
    return ok && v >= low && v <= high ? v : fallback;
}

} // namespace

SpeechSettings readSpeechSettings(const std::function<std::optional<QString>(const QString &key)> &stored)
{
    SpeechSettings s;
    s.spoken = wholeIn(stored(QStringLiteral("Spoken")), 0, 1, 0) == 1;
    s.rate = wholeIn(stored(QStringLiteral("Rate")), kMinRate, kMaxRate, kDefaultRate);
    s.accent = wholeIn(stored(QStringLiteral("Accent")), 0, 1, 1) == 1;
    return s;
}

bool saveSpeechSettings(const SpeechSettings &s, const std::function<bool(const QString &key, const QString &value)> &save)
{
    const bool spoken = save(QStringLiteral("Spoken"), s.spoken ? QStringLiteral("1") : QStringLiteral("0"));
    const bool accent = save(QStringLiteral("Accent"), s.accent ? QStringLiteral("1") : QStringLiteral("0"));
    return save(QStringLiteral("Rate"), QString::number(s.rate)) && spoken && accent;
}

} // namespace kel

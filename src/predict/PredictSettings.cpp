#include "predict/PredictSettings.h"

namespace kel {
namespace {

int number(const std::optional<QString> &text, int low, int high, int fallback)
{
    bool ok = false;
    const int n = text ? text->trimmed().toInt(&ok) : 0;
    return ok && n >= low && n <= high ? n : fallback;
}

} // namespace

PredictSettings readPredictSettings(const std::function<std::optional<QString>(const QString &key)> &stored)
{
    const PredictSettings d;
    return {number(stored(QStringLiteral("On")), 0, 1, d.on) == 1,
            number(stored(QStringLiteral("Count")), 1, kMaxCandidates, d.count),
            number(stored(QStringLiteral("Strip")), 0, 1, d.strip) == 1};
}

bool savePredictSettings(const PredictSettings &s,
                         const std::function<bool(const QString &key, const QString &value)> &save)
{
    const bool on = save(QStringLiteral("On"), QString::number(int(s.on)));
    const bool count = save(QStringLiteral("Count"), QString::number(s.count));
    const bool strip = save(QStringLiteral("Strip"), QString::number(int(s.strip)));
    return on && count && strip;
}

} // namespace kel

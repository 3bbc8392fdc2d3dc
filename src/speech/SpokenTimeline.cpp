#include "speech/SpokenTimeline.h"

#include "reading/Morae.h"
#include "speech/SoundSet.h"
#include "speech/WavCodec.h"

namespace kel {

long long beatFrame(qsizetype beat, int rate)
{
    return (static_cast<long long>(beat) * kPlaybackRate + rate / 2) / rate;
}

int beatsOf(const SpokenUnit &unit)
{
    switch (unit.kind) {
    case SpokenUnit::ShortPause:
        return 3;
    case SpokenUnit::LongPause:
        return 6;
    case SpokenUnit::Sign: {
        const QString name = readingFor(unit.text);
        return std::max<int>(1, int(splitMorae(name).size()));
    }
    default:
        return 1;
    }
}

std::vector<Cue> moraCues(const QString &mora, long long from, const SoundLookup &soundFor)
{
    for (QString m = mora; !m.isEmpty(); m = nearestMora(m))
        if (const std::optional<QString> own = soundFor(m))
            return {{*own, from}};
    return {{QString(), from}};
}

SpokenTimeline spokenTimeline(const QList<SpokenUnit> &units, int rate, const SoundLookup &soundFor,
                              const CueShaper &shape)
{
    SpokenTimeline t;
    for (qsizetype u = 0; u < units.size(); ++u) {
        const SpokenUnit &unit = units[u];
        const qsizetype first = t.beatUnit.size();
        const int beats = beatsOf(unit);
        for (int b = 0; b < beats; ++b)
            t.beatUnit.append(u);
        const long long from = beatFrame(first, rate), to = beatFrame(first + beats, rate);
        std::vector<Cue> cues;
        if (unit.kind == SpokenUnit::Mora)
            cues = moraCues(unit.text, from, soundFor);
        else if (unit.kind == SpokenUnit::Sign)
            cues = {{soundFor(unit.text).value_or(QString()), from}};
        else
            cues = {{QString(), from}};
        if (shape)
            shape(u, cues, from, to);
        t.cues.insert(t.cues.end(), cues.begin(), cues.end());
    }
    t.endFrame = beatFrame(t.beatUnit.size(), rate);
    return t;
}

} // namespace kel

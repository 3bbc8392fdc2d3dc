#include "speech/AccentCues.h"

#include "accent/AccentDictionary.h"
#include "speech/MoraHeights.h"

#include <algorithm>

namespace kel {
namespace {

// Each accented phrase since the last pause lowers the next by this much,
// down to a floor, so that a long sentence does not sink out of the voice.
constexpr double kDownstepSemitones = 0.7, kDownstepGain = 0.95;
constexpr int kMostDownsteps = 3;
// The last mora of a statement: lower and softer; of a question: higher.
constexpr double kFallSemitones = -1.5, kFallGain = 0.85;
constexpr double kRiseSemitones = 1.5;
// A devoiced vowel is barely heard.
constexpr double kDevoicedGain = 0.35;

} // namespace

MoraShape moraShape(const AccentedUnit &unit)
{
    MoraShape s;
    if (unit.height == AccentedUnit::None || unit.unit.kind != SpokenUnit::Mora)
        return s;
    s.height = unit.ending == AccentedUnit::Rise ? AccentedUnit::High : unit.height;
    const int steps = std::min(unit.downsteps, kMostDownsteps);
    s.semitones = -kDownstepSemitones * steps;
    for (int i = 0; i < steps; ++i)
        s.gain *= kDownstepGain;
    if (unit.ending == AccentedUnit::Fall)
        s.semitones += kFallSemitones, s.gain *= kFallGain;
    else if (unit.ending == AccentedUnit::Rise)
        s.semitones += kRiseSemitones;
    if (unit.devoiced)
        s.gain *= kDevoicedGain, s.shortened = true;
    return s;
}

CueShaper accentShaper(QList<AccentedUnit> units, std::function<bool(const QString &path)> isFile)
{
    return [units = std::move(units), isFile = std::move(isFile)](qsizetype u, std::vector<Cue> &cues, long long from,
                                                                  long long to) {
        // With no accent (or past it) a mora is said as recorded: only a
        // sound found as a height of its own is brought back to that.
        const MoraShape shape = u >= 0 && u < units.size() ? moraShape(units[u]) : MoraShape{};
        const int step = shape.height == AccentedUnit::High ? 1 : shape.height == AccentedUnit::Low ? -1 : 0;
        for (Cue &cue : cues) {
            if (cue.path.isEmpty())
                continue;
            const HeightSound sound = soundAtHeight(cue.path, step, isFile);
            cue.path = sound.path;
            cue.gain = shape.gain;
            cue.semitones = shape.semitones + sound.semitones;
        }
        if (shape.shortened)
            cues.push_back({QString(), from + (to - from) / 2});
    };
}

QList<AccentedUnit> accentOf(QStringView text, const QList<SpokenUnit> &units)
{
    const Analyser *accent = accentAnalyser();
    return accent ? accentUnits(text, units, accent->analyse(text)) : QList<AccentedUnit>{};
}

} // namespace kel

#include "accent/Intonation.h"

namespace kel {
namespace {

// Morae written in hiragana, by their first kana: i and u after k, s, sh,
// t, ch, ts, h, f, p; and every kana whose consonant is voiceless.
constexpr QStringView kDevoiceableKana = u"きくしすちつひふぴぷ";
constexpr QStringView kVoicelessKana = u"かきくけこさしすせそたちつてとはひふへほぱぴぷぺぽっ";

bool endsQuestion(QStringView mark)
{
    return mark.contains(u'？') || mark.contains(u'?');
}

} // namespace

bool isDevoiceable(const QString &mora)
{
    if (mora.isEmpty() || !kDevoiceableKana.contains(mora.front()))
        return false;
    return mora.size() == 1 || mora.back() == u'ゅ';
}

bool beginsVoiceless(const QString &mora)
{
    return !mora.isEmpty() && kVoicelessKana.contains(mora.front());
}

void markIntonation(QStringView text, QList<AccentedUnit> &units, const QList<AccentPhrase> &phrases)
{
    int steps = 0, phrase = -1;
    qsizetype lastSaid = -1;
    const auto endSentence = [&](QStringView mark) {
        if (lastSaid >= 0)
            units[lastSaid].ending = endsQuestion(mark) ? AccentedUnit::Rise : AccentedUnit::Fall;
        lastSaid = -1;
    };
    for (qsizetype i = 0; i < units.size(); ++i) {
        AccentedUnit &a = units[i];
        if (a.unit.kind == SpokenUnit::ShortPause || a.unit.kind == SpokenUnit::LongPause) {
            steps = 0;
            phrase = -1;
            if (a.unit.kind == SpokenUnit::LongPause)
                endSentence(text.mid(a.unit.from, a.unit.length));
            continue;
        }
        if (a.height == AccentedUnit::None)
            continue;
        if (a.phrase != phrase) {
            if (phrase >= 0 && phrases.value(phrase).nucleus != 0)
                ++steps;
            phrase = a.phrase;
        }
        a.downsteps = steps;
        lastSaid = i;
        const AccentedUnit *next = i + 1 < units.size() ? &units[i + 1] : nullptr;
        a.devoiced = next && next->height != AccentedUnit::None && isDevoiceable(a.unit.text)
                     && beginsVoiceless(next->unit.text);
    }
    endSentence(text.trimmed().right(1));
}

} // namespace kel

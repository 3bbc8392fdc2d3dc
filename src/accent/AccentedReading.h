#pragma once
// The spoken reading with its pitch: each mora of what "読む" plays, high
// or low in its accent phrase, with the marks of the sentence's intonation.
//
//   accentLine("水をください") -> "み/L ず/H お/H | く/L だ/H さ/H い/L"
//
// The morae are the spoken reading's own (reading/SpokenReading.h, from
// the IPA dictionary); the accent comes from the accent dictionary's words
// over the same text, each word taking the morae read from its characters.

#include "accent/AccentRules.h"
#include "reading/Analyser.h"
#include "reading/SpokenReading.h"

#include <QList>
#include <QString>

namespace kel {

struct AccentedUnit {
    enum Height { None, Low, High }; // None: a pause or a sign, said at no pitch
    enum Ending { Level, Fall, Rise };

    SpokenUnit unit;
    Height height = None;
    int phrase = -1;       // the accent phrase it is said in, counted from 0
    int downsteps = 0;     // accented phrases before its own since the last pause: each a step lower
    bool devoiced = false; // i or u between voiceless consonants: short and soft
    Ending ending = Level; // the last mora of a statement falls, of a question rises

    bool operator==(const AccentedUnit &) const = default;
};

// How the accent is found: the phrase rules, or what they are measured
// against.
enum class AccentMethod {
    Rules,      // words chained into phrases by the combination rules
    WordsAlone, // every word a phrase at its own dictionary accent
    Flat,       // the phrases of the rules, every one flat
};

// The units of the spoken reading of `text` with their pitch, from the
// accent dictionary's words of the same text. Words the dictionary lacks
// are flat.
QList<AccentedUnit> accentUnits(QStringView text, const QList<SpokenUnit> &units, const QList<Morpheme> &words,
                                AccentMethod method = AccentMethod::Rules);

// The units as --accent prints them: each mora with "/H" or "/L", " | "
// between accent phrases, pauses and signs as --reading prints them.
QString accentLine(const QList<AccentedUnit> &units);

} // namespace kel

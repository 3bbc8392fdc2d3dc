#pragma once
// kelvoran --reading [TEXT]: what the spoken reading of "読む" plays, one
// line of units per line of text, for a caregiver to check a sentence.

#include <QString>
#include <optional>

namespace kel {

// Prints the units of `text`, or of each line of standard input when there
// is none, to standard output. 0, or 1 when the dictionary is missing (the
// units are printed all the same, kanji as themselves).
int printSpokenReadings(const std::optional<QString> &text);

// The units of `text` as "読む" plays them with the dictionary loaded (or
// missing): "水をください" -> "み ず お く だ さ い".
QString spokenLine(QStringView text);

} // namespace kel

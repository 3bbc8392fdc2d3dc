#pragma once
// kelvoran --accent [TEXT]: the spoken reading of each line with its
// pitch, for a caregiver to check what is heard:
//   "水をください" -> "み/L ず/H お/H | く/L だ/H さ/H い/L"

#include <QString>
#include <optional>

namespace kel {

// Prints the accented units of `text`, or of each line of standard input
// when there is none. 0, or 1 when a dictionary is missing (what can be
// read is printed all the same, flat where the accent is unknown).
int printAccents(const std::optional<QString> &text);

// The accented units of one line, as printed.
QString accentedLine(QStringView text);

} // namespace kel

#pragma once
// The voice option "OPT3" decides which single-character feedback is spoken.
// Mode "E": the character was entered; "S": a board cell was chosen and the
// enlarged screen opens; any other mode (the board passes "1"): the first
// touch of a two-touch pick. Reading the whole text aloud is never filtered.

#include <QString>

namespace kel {

//            "E"  "S"  other
//   "0"      yes  yes  yes
//   "1"      yes  yes  no
//   "2"      yes  no   no
//   "3"      no   no   no
bool shouldSpeak(int opt3, const QString &mode);

} // namespace kel

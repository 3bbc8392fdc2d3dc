#pragma once
// Whether "終了" must ask first: a single stray touch must not throw away
// words the user has not yet said or kept. Text that was read aloud, stored
// as an example sentence or stored in the diary has done its work; an empty
// box has nothing to lose.
//
//   "_"              -> ends at once
//   "みずをください_"  -> asks (neither read aloud nor stored)
//   "おはよう_" with "おはよう" in Talk.txt -> ends at once

#include <QString>
#include <QStringList>

namespace kel {

// The message the text box holds: no end marker, no outer spaces.
QString messageOf(const QString &boxText);

// `settled`: the message last read aloud or stored; `stored`: the example
// sentences.
bool endLosesText(const QString &boxText, const QString &settled, const QStringList &stored);

} // namespace kel

#pragma once
// What the prediction learns from in a data folder: the sentences of
// Talk.txt (its placeholder record aside), the diary entries of day.txt and
// the texts read aloud (read.txt, which predict/Prediction.h reads itself).

#include <QString>
#include <QStringList>

namespace kel {

// The texts of Talk.txt and day.txt; a file that cannot be
// read adds a notice to `notices` and what could be read of it.
QStringList ownTexts(const QString &dataFolder, QStringList *notices);

// kelvoran --predict [N]: answers each line of standard input at once with
// up to N candidates (default 5) for it, tab-separated, each the whole text
// the box would then hold.
int runPredictCommand(const QString &dataFolder, int count);

} // namespace kel

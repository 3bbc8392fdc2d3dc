#pragma once
// The accent dictionary: MeCab on Debian's open-jtalk-mecab-naist-jdic,
// whose words carry their accent nucleus, mora count and combination rule.
// It is opened by a folder of its own (the dictionary's files linked beside
// the dicrc it lacks), at its first use.

#include "reading/Analyser.h"

#include <QString>

namespace kel {

// Where the folder is looked for: $KELVORAN_ACCENT_DICDIR, then installed
// beside the program's data, then the build folder.
QStringList accentDictionaryFolders();

// The analyser on the accent dictionary, opened once; null when it cannot
// be, with the reason (one line) in `problem`. Safe from any thread.
const Analyser *accentAnalyser(QString *problem = nullptr);

} // namespace kel

#pragma once
// A sentence as the user would have typed it on the board: kana, with the
// places where a phrase (a content word and the particles after it) begins.
// Kanji are replaced by the dictionary's reading in hiragana; kana the user
// wrote stay as written, katakana included, so that a candidate reads aloud
// exactly as the stored sentence did.
//
//   "窓を開けてください" -> {"まどをあけてください", starts [0, 3], words [0, 2, 3, 5, 6]}
//   "コーヒーがのみたい" -> {"コーヒーがのみたい", starts [0, 5], words [0, 4, 5, 7]}

#include <QList>
#include <QString>
#include <QStringView>

namespace kel {

class Analyser;

struct KanaSentence {
    QString kana;
    QList<qsizetype> starts; // phrase starts, ascending, the first one 0
    // Every word's start, ascending (particles and endings too): where a
    // match may begin, so that "てください" follows any verb.
    QList<qsizetype> words;
    bool operator==(const KanaSentence &) const = default;
};

// Without an analyser the text is kept as it is and only its start, spaces
// and "、" begin a phrase (or a word).
KanaSentence kanaSentence(QStringView text, const Analyser *analyser);

} // namespace kel

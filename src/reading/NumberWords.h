#pragma once
// Numbers as the analyser cuts them into words, read as people say them:
//   "1,000円"          せん | えん           (a quantity with its counter)
//   "090-1234-5678"    ぜろきゅーぜろ、いちにさんよん、ごろくななはち
//   "10:30"            じゅーじ | さんじゅっぷん
//   "2026/4/1", "4/1"  にせんにじゅーろくねん | しがつ | ついたち
//   "¥500", "500ml"    ごひゃく | えん,  ごひゃく | みりりっとる
//   "何百人"           (なん) びゃく | にん
//   "一二歩"           いち | に | ほ    (kanji digits without places are no quantity)

#include "reading/Analyser.h"

#include <functional>

namespace kel {

// Where a number's readings go: each over the part of the text it reads,
// and the short pauses between the groups of a phone number.
struct NumberSink {
    std::function<void(qsizetype from, qsizetype length, const QString &reading)> word;
    std::function<void(qsizetype from, qsizetype length)> pause;
};

// Reads the number that begins at words[i], with its counter. Returns the
// words used, 0 when words[i] begins no number. `afterMonth`: the words
// before were a month ("5月1日"); `*endsInMonth` says whether this one is.
qsizetype numberWords(const QList<Morpheme> &words, qsizetype i, bool afterMonth, const NumberSink &out,
                      bool *endsInMonth);

} // namespace kel

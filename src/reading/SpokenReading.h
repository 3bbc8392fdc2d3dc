#pragma once
// What a text sounds like when it is spoken, as units on an even beat:
//
//   spokenLine("わたしは元気です。")  -> "わ た し わ げ ん き で す 。"
//   spokenLine("今日、学校へ行った")  -> "きょ お 、 が っ こ お え い っ た"
//   spokenLine("3人でABC")            -> "さ ん に ん で A B C"
//
// Each unit keeps the part of the text it was read from, so that the
// highlight can follow the speech. Kanji are read by the dictionary in
// context; the rules on top of it say particles as pronounced, long vowels
// as the vowel's own beat, numbers with their counters, Latin letters by
// their own sounds, and punctuation, spaces and line breaks as pauses.

#include <QList>
#include <QString>

namespace kel {

class Analyser;

struct SpokenUnit {
    enum Kind {
        Mora,       // one beat of a recorded mora: "か", "きゃ"
        Hold,       // "っ": a silent beat
        ShortPause, // "、", a line break: a short silence
        LongPause,  // "。", "？", "！": a longer silence
        Sign,       // a character played from its own sound: a letter, a sign, an unknown character
    };
    Kind kind = Mora;
    QString text;                   // what --reading prints
    qsizetype from = 0, length = 0; // the part of the text, in UTF-16 units

    bool operator==(const SpokenUnit &) const = default;
};

// The units of `text`. Without an analyser (no dictionary) kana are read as
// written and kanji become signs of their own (silent without a sound).
QList<SpokenUnit> spokenUnits(QStringView text, const Analyser *analyser);

// The units as --reading prints them: their texts joined by single spaces.
QString unitsLine(const QList<SpokenUnit> &units);

// The dictionary's own pronunciation of `text` with no rules on top: the
// pronunciation field of each word in hiragana, the word as written where
// the dictionary has none. What the rules are measured against.
QString plainPronunciation(QStringView text, const Analyser &analyser);

} // namespace kel

#pragma once
// Japanese pitch accent from words to accent phrases. Each word comes with
// what the accent dictionary knows of it (its nucleus, its mora count, the
// rule by which it combines with the word before); the words are chained
// into accent phrases and each phrase gets one nucleus:
//
//   水 (0) を (F1 after a noun)        -> みずを, flat       L H H
//   橋 (2) を                           -> はしを, nucleus 2  L H L
//   箸 (1) で                           -> はしで, nucleus 1  H L L
//   東京 (0) 都知事 (2, C1)             -> とーきょーとちじ, nucleus 4 + 2 = 6
//   行き (0) ます (F4@1 after a verb)   -> いきます, nucleus 2 + 1 = 3
//
// Pure functions over plain values; the rules are the tables in the .cpp.

#include <QList>
#include <QString>

namespace kel {

// One word as the accent rules see it.
struct AccentWord {
    qsizetype from = 0, length = 0; // the part of the text, in UTF-16 units
    QString pos, pos1, form, base;  // part of speech, its first refinement, conjugated form, base form
    int morae = 0;                  // beats it is spoken in
    int nucleus = 0;                // the mora the pitch falls after; 0 = flat
    QString rule;                   // "C1".."C5" or "名詞%F1/動詞%F2@0"; "" when unknown
    bool pauseAfter = false;        // a pause ("、", "。") follows it
    bool endsPhrase = false;        // a phrase ends after it, though no pause follows

    bool operator==(const AccentWord &) const = default;
};

// An accent phrase: a run of words said under one rise and fall.
struct AccentPhrase {
    qsizetype firstWord = 0, words = 0;
    int morae = 0;
    int nucleus = 0; // 0 = flat
    bool pauseAfter = false;

    bool operator==(const AccentPhrase &) const = default;
};

// The dictionary's fields of a word (the IPA dictionary's nine, then the
// accent "nucleus/morae" and the combination rule): its part of speech,
// nucleus and rule. A word the dictionary lacks is flat.
AccentWord accentWordFromFields(const QStringList &features, qsizetype from, qsizetype length);

// Whether `next` is said in one phrase with the word before it.
bool joinsPhrase(const AccentWord &previous, const AccentWord &next);

// The nucleus of `phrase` once `next` (whose part of speech follows
// `previous`) is said with it.
int combinedNucleus(const AccentPhrase &phrase, const AccentWord &previous, const AccentWord &next);

// The words chained into phrases, each with its nucleus.
QList<AccentPhrase> accentPhrases(const QList<AccentWord> &words);

// The same words with no rules: every word a phrase of its own at its
// dictionary accent (what the rules are measured against).
QList<AccentPhrase> wordAccentsAlone(const QList<AccentWord> &words);

// Whether the `index`th mora (from 0) of a phrase of `nucleus` is high:
// the first mora is low unless the nucleus is on it; the morae up to the
// nucleus are high, those after it low; a flat phrase stays high.
bool isHigh(int nucleus, int index);

} // namespace kel

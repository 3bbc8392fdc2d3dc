#pragma once
// Voice feedback for picked characters and reading the whole text aloud.

#include "base/Clock.h"
#include "frame/Talk.h"
#include "reading/SpokenReading.h"

#include <optional>

namespace kel {

class Speech {
public:
    // Starts opening the reading dictionary in the background.
    explicit Speech(Talk &t);

    // Voices `ch` as the voice option allows for `mode` ("E", "S", other),
    // then holds the window for `pace` seconds and lets queued events run once.
    void SpeakChar(const QString &ch, double pace, const QString &mode);
    // "読む".
    void cmdRead_Click();

    // Plays one character's sound (or silence) and returns when it started;
    // `step`: as a step of a reading (WavePlayer::playStep), else as a touch.
    Nanos playChar(const QString &ch, bool step = false);

    // Plays one mora for `pace` seconds: its own sound, a pair without one
    // as its two kana; returns when it started.
    Nanos playMora(const QString &mora);

private:
    // The sound of a character or mora: the user's folder, then the set.
    std::optional<QString> soundFor(const QString &name) const;
    // Waits, painting, until the dictionary is open (or known missing).
    void waitForDictionary();
    // The units of `text`, analysed once per text.
    const QList<SpokenUnit> &unitsOf(const QString &text);
    // The reading loop, a character a step (kanji a step per mora of their
    // reading); and the spoken reading on an even beat, with its pitch
    // accent or as recorded.
    void readCharacters();
    void readSpoken(int rate, bool accent);

    Talk &t_;
    QString analysed_;
    QList<SpokenUnit> units_;
};

} // namespace kel

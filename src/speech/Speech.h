#pragma once
// Voice feedback for picked characters and reading the whole text aloud.

#include "base/Clock.h"
#include "frame/Talk.h"

namespace kel {

class Speech {
public:
    explicit Speech(Talk &t) : t_(t) {}

    // Voices `ch` as the voice option allows for `mode` ("E", "S", other),
    // then holds the window for `pace` seconds and lets queued events run once.
    void SpeakChar(const QString &ch, double pace, const QString &mode);
    // "読む".
    void cmdRead_Click();

    // Plays one character's sound (or silence) and returns when it started.
    Nanos playChar(const QString &ch);

private:

    Talk &t_;
};

} // namespace kel

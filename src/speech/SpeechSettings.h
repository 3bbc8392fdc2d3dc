#pragma once
// How "読む" reads, kept in the group "SPEECH" of the settings file:
//   Spoken=0  each character for the reading pace (kanji by their reading)
//   Spoken=1  the whole text as spoken morae on an even beat
//   Rate      morae a second when spoken, 2..12, default 8
//   Accent=1  when spoken, each mora at its height in the accent phrase,
//             the sentence's intonation over it (the default); 0: every
//             mora as recorded
// With nothing stored, "読む" reads character by character.

#include <QString>

#include <functional>
#include <optional>

namespace kel {

inline constexpr const char *kSpeechGroup = "SPEECH";

struct SpeechSettings {
    bool spoken = false;
    int rate = 8;
    bool accent = true;
    bool operator==(const SpeechSettings &) const = default;
};

// A value that is not a whole number in its range reads as the default.
SpeechSettings readSpeechSettings(const std::function<std::optional<QString>(const QString &key)> &stored);
// False when a key could not be saved.
bool saveSpeechSettings(const SpeechSettings &s, const std::function<bool(const QString &key, const QString &value)> &save);

} // namespace kel

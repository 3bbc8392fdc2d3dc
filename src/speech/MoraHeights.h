#pragma once
// The two heights of a recorded mora, kept beside its own file so that a
// reading can say it high or low in its accent phrase, and so that the
// backup, the restore and the voice import carry them with it:
//
//   か.wav        the mora as recorded
//   か.high.wav   the same a step higher
//   か.low.wav    the same a step lower
//
// Where a folder lacks a height, the mora's own sound is played shifted by
// the same step instead.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace kel {

// How far each height lies from the recording: about the fall of a
// Japanese accent nucleus split in two.
inline constexpr double kHeightSemitones = 2.0;

// heightPath("/v/か.wav", true) -> "/v/か.high.wav"; "" for a path that is
// not a ".wav".
QString heightPath(const QString &soundPath, bool high);

// heightOf("か.high") -> "か", heightOf("か.low") -> "か", heightOf("か") -> "".
QString heightOf(const QString &name);

struct MadeHeights {
    QByteArray high, low; // 16-bit mono WAV files at the recording's rate
};

// Both heights of the WAV `wav`, pitch-shifted with its length and formants
// kept; nullopt, with the reason in `why`, for a sound that does not decode
// or in which no pitch is found (too short, whispered, noise).
std::optional<MadeHeights> makeHeights(QByteArrayView wav, QString *why = nullptr);

} // namespace kel

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
// the same step instead; where it holds a height only (a take recorded high,
// or a folder copied in part), that height is played, shifted to the others.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
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

// The file to play for a mora at height `step` (+1 high, -1 low, 0 as
// recorded) and the semitones beyond it. `found` is the mora's sound as
// the lookup found it: the recording, or one of its heights. The nearest
// file there is wins, the recording before a height as far:
//   soundAtHeight("/v/か.wav", +1, ...)      -> "/v/か.high.wav" +0, else "/v/か.wav" +2
//   soundAtHeight("/v/か.high.wav", -1, ...) -> "/v/か.low.wav" +0, else "/v/か.wav" -2,
//                                              else "/v/か.high.wav" -4
struct HeightSound {
    QString path;
    double semitones = 0;
    bool operator==(const HeightSound &) const = default;
};
HeightSound soundAtHeight(const QString &found, int step, const std::function<bool(const QString &path)> &isFile);

struct MadeHeights {
    QByteArray high, low; // 16-bit mono WAV files at the recording's rate
};

// Both heights of the WAV `wav`, pitch-shifted with its length and formants
// kept; nullopt, with the reason in `why`, for a sound that does not decode
// or in which no pitch is found (too short, whispered, noise).
std::optional<MadeHeights> makeHeights(QByteArrayView wav, QString *why = nullptr);

} // namespace kel

#pragma once
// Turning a raw take into a character's sound: the room's noise measured
// before the first take, the take trimmed to the voice with a margin on each
// side, levelled to the loudness every sound of the set shares, and refused
// with a reason when there is no usable voice in it.
//
// Plain functions over mono float samples in [-1, 1]; no toolkit.

#include <QString>

#include <vector>

namespace kel {

// Levels in dB relative to full scale.
struct RoomNoise {
    double rmsDb = -120; // the room's hum and hiss
    bool noisy = false;  // loud enough to spoil a take
    QString words;       // how the studio names it
};

// Analysed in 10 ms blocks: a room is named noisy above -45 dBFS.
RoomNoise measureRoom(const std::vector<float> &mono, int rate);

struct ShapedTake {
    bool ok = false;
    QString reason;             // why a take was refused, in the user's words
    std::vector<float> samples; // trimmed and levelled, when ok
    double gainDb = 0;
    double startSeconds = 0, endSeconds = 0; // of the raw take that was kept
};

// Every sound of the set is brought to this loudness (the RMS of its voiced
// blocks), as far as its peaks allow.
inline constexpr double kTargetDb = -20.0;
inline constexpr double kPeakCeilingDb = -1.0;
// Kept before the first and after the last voiced block, so that a quiet
// onset ("h", "s") is never cut.
inline constexpr double kMarginSeconds = 0.15;

// A voiced block stands at least 12 dB above the room noise (and above
// -55 dBFS in a perfectly quiet room).
double voiceThresholdDb(double roomDb);

// Refuses a take that is silent, too faint, clipped, or steady noise with
// no voice in it; otherwise trims and levels it.
ShapedTake shapeTake(const std::vector<float> &mono, int rate, double roomDb);

} // namespace kel

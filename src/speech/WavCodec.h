#pragma once
// WAV files in memory: decoding any common PCM or float file into samples,
// converting them to the one format the player keeps open, and writing the
// 16-bit mono files the studio keeps.
//
// decodeWav refuses, with a reason, whatever it cannot read whole: an empty
// file, a bare "RIFF", a header whose sizes run past the end of the file
// (a cut-off file, or one claiming 2 GB), a format it does not know. It
// never reads past the bytes it is given, so a lying header costs nothing.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace kel {

// Samples as floats in [-1, 1], channels interleaved.
struct Audio {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;
    qsizetype frames() const { return channels ? qsizetype(samples.size()) / channels : 0; }
    double seconds() const { return rate ? double(frames()) / rate : 0.0; }
};

// The format every sound is converted to once, so that playing is a copy.
inline constexpr int kPlaybackRate = 44100; // mono, signed 16 bits

// Limits no recording of one character comes near (a take is at most 5 s):
// a longer file is refused from its header, before anything is allocated,
// so that a file of any size costs at most kMaxSoundFileBytes to read, 16 MB
// of samples to decode and under 1 MB in the player's format.
inline constexpr int kMaxSoundSeconds = 10;
inline constexpr qsizetype kMaxDecodedSamples = qsizetype(4) << 20; // all channels together
inline constexpr qint64 kMaxSoundFileBytes = qint64(32) << 20;
// decodeWav's reason for a file over those limits.
inline constexpr char kTooLongReason[] = "longer than 10 seconds";

// nullopt with `why` set for a file it will not play.
// 8, 16, 24 and 32-bit integer PCM, 32 and 64-bit float, plain or
// "extensible" headers, one to eight channels, 1 kHz to 384 kHz, at most
// kMaxSoundSeconds and kMaxDecodedSamples.
std::optional<Audio> decodeWav(QByteArrayView bytes, QString *why = nullptr);

// The user's words for a refused sound file, naming it:
// soundRefusal("か.wav", kTooLongReason) -> "「か.wav」は長すぎます（10 秒まで）"
// soundRefusal("か.wav", "no sound data") -> "「か.wav」は使える WAV ではありません" (the why to the log)
QString soundRefusal(const QString &fileName, const QString &why);

// The channels averaged into one.
std::vector<float> toMono(const Audio &audio);
// Linear interpolation from `from` Hz to `to` Hz.
std::vector<float> resample(const std::vector<float> &mono, int from, int to);
// Mono, kPlaybackRate, 16 bits, clipped to full scale.
std::vector<qint16> toPlayback(const Audio &audio);

// A canonical 44-byte-header WAV, 16-bit mono.
QByteArray encodeWav16(const std::vector<float> &mono, int rate);

} // namespace kel

#pragma once
// The wave-audio device: play one WAV file from its beginning, cutting off
// whatever was playing; the call returns at once.

#include <QString>

namespace kel {

class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // Close the device (cutting the previous sound), open `path`, rewind, play.
    virtual void play(const QString &path) = 0;
    // Close the device: stops and releases whatever was playing.
    virtual void close() = 0;
    // The name of the output device sounds go to; "" when there is none.
    virtual QString outputDevice() const { return {}; }
};

} // namespace kel

#pragma once
// The program's wave player. The sound device and the audio libraries
// behind it are in the module loaded after the window is first shown (see
// base/LateModule.h): the device is made at the first sound, or when the
// window asks for it once it is on screen. Should the module be missing,
// the program stays silent rather than failing: no output device, which
// the sound check shows.

#include "speech/WavePlayer.h"

#include <memory>

namespace kel {

// The late module's maker of the sound device.
using MakeWavePlayer = WavePlayer *(*)();

class LateWavePlayer final : public WavePlayer {
public:
    LateWavePlayer();
    ~LateWavePlayer() override;

    void play(const QString &path) override;
    void close() override;
    void playTimeline(const std::vector<Cue> &cues, long long endFrame) override;
    QString outputDevice() const override;
    void preload(const QString &folder) override;

    // Makes the device now, if it is not yet made.
    void open() const;

private:
    mutable std::unique_ptr<WavePlayer> device_;
};

} // namespace kel

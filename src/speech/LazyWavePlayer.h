#pragma once
// The program's wave player, whose sound device (QtWavePlayer: an audio
// output and its thread) is made at the first sound, or when the window
// asks for it once it is on screen: opening the device is not something the
// first screen should wait for.

#include "speech/WavePlayer.h"

#include <memory>

namespace kel {

class LazyWavePlayer final : public WavePlayer {
public:
    LazyWavePlayer();
    ~LazyWavePlayer() override;

    void play(const QString &path) override;
    void playStep(const QString &path) override;
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

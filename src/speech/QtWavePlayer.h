#pragma once
// The wave-audio device on Qt Multimedia.
//
// The sounds live on a thread of their own: the program holds its own thread
// in busy waits between characters without processing events, and a
// QSoundEffect is fed from the event loop of the thread it lives in, so on the
// user-interface thread it would stay silent for the whole wait.
//
// Every play() gets a new QSoundEffect: reusing one after stop() first
// replays a few tens of milliseconds of the old sound, and play() on an effect
// that is still playing clips the start of the new one. Without an audio
// server an effect reports "playing" forever, so nothing here ever waits for a
// sound to end.

#include "speech/WavePlayer.h"

#include <QThread>

namespace kel {

class SoundEffectHost;

class QtWavePlayer final : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override; // cuts the sound and ends the sound thread
    QtWavePlayer(const QtWavePlayer &) = delete;
    QtWavePlayer &operator=(const QtWavePlayer &) = delete;

    void play(const QString &path) override; // returns at once; a missing file plays nothing
    void close() override;                   // returns at once

private:
    QThread thread_;
    SoundEffectHost *host_; // lives on thread_
};

} // namespace kel

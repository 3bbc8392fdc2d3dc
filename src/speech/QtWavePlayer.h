#pragma once
// The wave-audio device on Qt Multimedia: two audio outputs kept open for
// the whole run, fed from sounds decoded into memory (SoundBank): one with
// a short buffer for touches, heard at once, and one with a long buffer for
// readings, which a busy machine cannot starve.
//
// The outputs live on a thread of its own: the program holds its own thread
// in busy waits between characters without processing events, and an
// output is fed from the event loop of the thread it lives in. The touch
// output is opened once and never closed while the program runs; between
// sounds it runs dry, so a touch is heard as soon as the audio server
// mixes next, instead of after an output has been opened for it or behind
// queued silence.
//
// play() swaps the sound under a lock and returns at once; the sound starts
// at the next block the output asks for. Nothing here waits without a bound:
// an audio server that hangs can cost the end of the program a second, not
// the program itself.

#include "speech/RenderAhead.h"
#include "speech/SoundBank.h"
#include "speech/WavePlayer.h"

#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

namespace kel {

class SinkHost;

// What the output plays, shared between the caller and the sound thread:
// one sound, or a timeline rendered ahead.
struct VoiceLine {
    QMutex mutex;
    SoundBank::Samples sound; // null: silence
    size_t position = 0;
    RenderAhead timeline;
    QString device;           // the output's name; empty while there is none
};

class QtWavePlayer final : public WavePlayer {
public:
    QtWavePlayer();
    ~QtWavePlayer() override; // waits at most a second for the sound thread
    QtWavePlayer(const QtWavePlayer &) = delete;
    QtWavePlayer &operator=(const QtWavePlayer &) = delete;

    void play(const QString &path) override; // a missing or unreadable file plays nothing
    void playStep(const QString &path) override;
    void close() override;
    void playTimeline(const std::vector<Cue> &cues, long long endFrame) override;

    // Decodes the folder's sound files in the background, off the window's thread.
    void preload(const QString &folder) override;
    // The output device in use, "" when there is none.
    QString outputDevice() const override;
    SoundBank &bank() { return *bank_; }

private:
    void startTimeline(std::vector<PlacedSound> placed, long long endFrame);

    std::shared_ptr<SoundBank> bank_ = std::make_shared<SoundBank>();
    std::shared_ptr<VoiceLine> line_ = std::make_shared<VoiceLine>();
    std::shared_ptr<std::atomic<bool>> cancelled_ = std::make_shared<std::atomic<bool>>(false);
    QThread *thread_;
    SinkHost *host_; // lives on thread_
};

} // namespace kel

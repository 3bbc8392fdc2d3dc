#pragma once
// The wave-audio device: play one WAV file from its beginning, cutting off
// whatever was playing; the call returns at once.

#include <QString>

#include <vector>

namespace kel {

// One sound of a timeline: the vowel of `path` falls `frame` samples (at
// the player's rate) after the timeline's start, its consonant before;
// "" is silence, which still ends the sound before it. `gain` and `semitones` shape the sound for its place in
// the sentence (a lower phrase, a falling end); 1 and 0 play it as recorded.
struct Cue {
    QString path;
    long long frame = 0;
    double gain = 1.0;
    double semitones = 0.0;
    bool operator==(const Cue &) const = default;
};

class WavePlayer {
public:
    virtual ~WavePlayer() = default;
    // Close the device (cutting the previous sound), open `path`, rewind, play.
    virtual void play(const QString &path) = 0;
    // One step of a reading, one character or mora at a time: played like
    // play(), but where the player has an output for readings, through it.
    // A touch is heard at once from an output holding little; a reading's
    // steps come from one that holds more, which a busy machine cannot
    // starve into breaking a sound up.
    virtual void playStep(const QString &path) { play(path); }
    // Close the device: stops and releases whatever was playing.
    virtual void close() = 0;
    // Plays `cues` on their frames, each sound whole until the next cue's
    // frame and fading out under it, until `endFrame` (the last sound plays
    // out); cuts whatever was playing. A later play() or close() ends the
    // timeline. Returns at once.
    virtual void playTimeline(const std::vector<Cue> &cues, long long endFrame)
    {
        (void)cues, (void)endFrame;
        close();
    }
    // The name of the output device sounds go to; "" when there is none.
    virtual QString outputDevice() const { return {}; }
    // Decodes the folder's sound files ahead of their first use, in the
    // background; a player without a store of decoded sounds ignores it.
    virtual void preload(const QString &folder) { (void)folder; }
};

} // namespace kel

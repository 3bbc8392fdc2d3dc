#pragma once
// A timeline rendered ahead of the output that plays it: the first second
// at once, on the caller's thread, before it starts; the rest on a
// thread of its own, seconds ahead of what has been played. The sound
// thread only copies, so a busy machine can hold up neither the beat nor a
// mora, and the memory held stays a few seconds whatever the text's length.
//
// stop() drops everything rendered: the output falls silent once it has
// played what it already holds.

#include "speech/TimelineRender.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kel {

class RenderAhead {
public:
    RenderAhead();
    ~RenderAhead(); // waits for a chunk being rendered (milliseconds)
    RenderAhead(const RenderAhead &) = delete;
    RenderAhead &operator=(const RenderAhead &) = delete;

    // Plays `render` from its start, in place of whatever played.
    void start(std::unique_ptr<TimelineRender> render);
    void stop();
    // Copies up to `frames` rendered frames to `out`; returns how many. Less
    // than asked while the renderer is behind, 0 once the end is reached.
    // `timeline`, when given, receives a number that changes with every
    // start() and stop(): the output knows by it that what it holds is no
    // longer wanted, without a race against a start in between.
    qsizetype read(qint16 *out, qsizetype frames, unsigned *timeline = nullptr);
    // A timeline is playing and not yet read to its end.
    bool playing() const;

private:
    void renderLoop();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::shared_ptr<TimelineRender> render_; // null: none
    std::deque<std::vector<qint16>> ready_;  // rendered, not yet read
    size_t readInFront_ = 0;                 // frames of ready_.front() already read
    long long renderedTo_ = 0, aheadFrames_ = 0;
    unsigned generation_ = 0;
    bool quit_ = false;
    std::thread thread_;
};

} // namespace kel

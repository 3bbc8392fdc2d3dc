#include "speech/RenderAhead.h"

#include "speech/RealTime.h"
#include "speech/WavCodec.h"

#include <algorithm>
#include <cstring>

namespace kel {
namespace {

// Rendered before the timeline starts, on the caller's thread: four times
// what the reading output holds (a quarter second), so that the output
// starts on a whole buffer and the render thread has three quarters of a
// second to spare before it is wanted, however late a busy machine wakes
// it. The sounds' heights for these morae are made here, a few
// milliseconds.
constexpr long long kFirstFrames = kPlaybackRate;
// Kept rendered ahead of the output: far more than any stall of a busy
// machine, little memory (half a megabyte).
constexpr long long kAheadFrames = kPlaybackRate * 3;
constexpr long long kChunkFrames = kPlaybackRate / 4;

} // namespace

RenderAhead::RenderAhead() : thread_([this] { renderLoop(); }) {}

RenderAhead::~RenderAhead()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RenderAhead::start(std::unique_ptr<TimelineRender> render)
{
    std::vector<qint16> first(size_t(std::min(kFirstFrames, render->length())));
    render->render(0, first);
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        ready_.clear();
        readInFront_ = 0;
        renderedTo_ = aheadFrames_ = qsizetype(first.size());
        ready_.push_back(std::move(first));
        render_ = std::move(render);
    }
    wake_.notify_all();
}

void RenderAhead::stop()
{
    std::lock_guard lock(mutex_);
    ++generation_;
    ready_.clear();
    render_ = nullptr;
    aheadFrames_ = 0;
}

bool RenderAhead::playing() const
{
    std::lock_guard lock(mutex_);
    return render_ != nullptr;
}

qsizetype RenderAhead::read(qint16 *out, qsizetype frames, unsigned *timeline)
{
    std::unique_lock lock(mutex_);
    if (timeline)
        *timeline = generation_;
    qsizetype copied = 0;
    while (copied < frames && !ready_.empty()) {
        const std::vector<qint16> &front = ready_.front();
        const size_t n = std::min(size_t(frames - copied), front.size() - readInFront_);
        std::memcpy(out + copied, front.data() + readInFront_, n * sizeof(qint16));
        copied += qsizetype(n);
        readInFront_ += n;
        if (readInFront_ == front.size()) {
            ready_.pop_front();
            readInFront_ = 0;
        }
    }
    aheadFrames_ -= copied;
    if (render_ && ready_.empty() && renderedTo_ >= render_->length())
        render_ = nullptr; // played to its end
    const bool wanted = render_ && aheadFrames_ < kAheadFrames - kChunkFrames;
    lock.unlock();
    if (wanted)
        wake_.notify_one();
    return copied;
}

void RenderAhead::renderLoop()
{
    // Scheduled like the thread that feeds the output, where the system
    // allows it: at ordinary priority a busy machine held it up until the
    // output had played all that was rendered, and the reading stalled.
    // It works a few milliseconds at a time (a quarter second of sound, a
    // mora's height made now and then), then sleeps until it is wanted.
    askForRealTime();
    std::unique_lock lock(mutex_);
    while (!quit_) {
        if (!render_ || renderedTo_ >= render_->length() || aheadFrames_ >= kAheadFrames) {
            wake_.wait(lock);
            continue;
        }
        const std::shared_ptr<TimelineRender> render = render_;
        const unsigned generation = generation_;
        const long long from = renderedTo_;
        std::vector<qint16> chunk(size_t(std::min(kChunkFrames, render->length() - from)));
        lock.unlock();
        render->render(from, chunk);
        lock.lock();
        if (generation == generation_) {
            renderedTo_ += qsizetype(chunk.size());
            aheadFrames_ += qsizetype(chunk.size());
            ready_.push_back(std::move(chunk));
        }
    }
}

} // namespace kel

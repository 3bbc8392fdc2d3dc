#include "speech/QtWavePlayer.h"

#include "speech/WavCodec.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace kel {
namespace {

// The output's buffer: 30 ms, kept full while a sound plays: enough that a
// busy machine does not starve it, little enough that the next sound cuts
// it off within that time (the server starts a stream only once its whole
// buffer is filled, so the buffer and the lead are one). Between sounds
// nothing stands queued: the output stays open but runs dry, and a new
// sound fills it at once and starts as soon as the audio server mixes
// next, instead of waiting behind queued silence.
constexpr qsizetype kBufferBytes = kPlaybackRate * 2 * 30 / 1000;
constexpr int kFeedEveryMs = 4;
constexpr int kReopenDelayMs = 1000;
// A new default output is not announced as a change of the device list, so
// it is also looked for once a second.
constexpr int kDefaultCheckMs = 1000;
constexpr unsigned long kExitWaitMs = 1000;

// How long a sound that outlasts its beat takes to fade out once the next
// cue has started: long enough not to click, short enough not to be heard
// under the next sound.
constexpr qint64 kFadeFrames = kPlaybackRate * 5 / 1000;

// The sample of `s` at `offset`, 0 outside it.
int sampleAt(const SoundBank::Samples &s, qint64 offset)
{
    return s && offset >= 0 && offset < qint64(s->size()) ? (*s)[size_t(offset)] : 0;
}

// Renders the timeline's next `frames` samples: each sound from its cue on,
// the sound before it fading out over kFadeFrames from there.
void renderTimeline(VoiceLine &line, qint16 *out, qsizetype frames)
{
    const std::vector<TimedSound> &t = line.timeline;
    for (qsizetype f = 0; f < frames; ++f) {
        const qint64 at = line.timelineAt + f;
        while (line.cue + 1 < t.size() && t[line.cue + 1].frame <= at)
            ++line.cue;
        const TimedSound &now = t[line.cue];
        double v = now.frame <= at ? sampleAt(now.sound, at - now.frame) : 0;
        const qint64 since = at - now.frame;
        if (line.cue > 0 && since >= 0 && since < kFadeFrames) {
            const TimedSound &before = t[line.cue - 1];
            v += sampleAt(before.sound, at - before.frame) * double(kFadeFrames - since) / kFadeFrames;
        }
        out[f] = qint16(std::clamp(v, -32768.0, 32767.0));
    }
    line.timelineAt += frames;
    if (line.timelineAt >= line.timelineEnd)
        line.timeline.clear();
}

// The output holds 30 ms: a feeding thread that waits longer than that for
// the processor (a busy machine) lets it run dry, and the audio server then
// plays silence and everything after it comes late, off its beat. Where the
// system grants it (root, or a user allowed real-time scheduling) the
// feeding thread is scheduled before ordinary work; it runs for a few
// microseconds every few milliseconds. Elsewhere it stays as it was.
void askForRealTime()
{
    sched_param param{};
    param.sched_priority = std::max(1, sched_get_priority_min(SCHED_RR));
    pthread_setschedparam(pthread_self(), SCHED_RR, &param);
}

// Copies the current sound (or the timeline), then silence, into `out`.
void fill(VoiceLine &line, char *out, qsizetype bytes)
{
    qsizetype filled = 0;
    {
        QMutexLocker lock(&line.mutex);
        if (!line.timeline.empty()) {
            const qsizetype frames = std::min<qsizetype>(bytes / 2, line.timelineEnd - line.timelineAt);
            renderTimeline(line, reinterpret_cast<qint16 *>(out), frames);
            filled = frames * 2;
        }
        else if (const SoundBank::Samples &s = line.sound) {
            const size_t n = std::min(size_t(bytes / 2), s->size() - line.position);
            std::memcpy(out, s->data() + line.position, n * 2);
            line.position += n;
            filled = qsizetype(n * 2);
            if (line.position >= s->size())
                line.sound = nullptr;
        }
    }
    std::memset(out + filled, 0, size_t(bytes - filled));
}

} // namespace

// Keeps one output open on the default device and fed; every call runs on
// the sound thread.
class SinkHost final : public QObject {
public:
    explicit SinkHost(std::shared_ptr<VoiceLine> line) : line_(std::move(line)) {}

    void start()
    {
        askForRealTime();
        devices_ = new QMediaDevices(this);
        connect(devices_, &QMediaDevices::audioOutputsChanged, this, &SinkHost::reopenIfMoved);
        reopenTimer_ = new QTimer(this);
        reopenTimer_->setSingleShot(true);
        connect(reopenTimer_, &QTimer::timeout, this, &SinkHost::open);
        auto *defaultCheck = new QTimer(this);
        connect(defaultCheck, &QTimer::timeout, this, &SinkHost::reopenIfMoved);
        defaultCheck->start(kDefaultCheckMs);
        feedTimer_ = new QTimer(this);
        feedTimer_->setTimerType(Qt::PreciseTimer);
        connect(feedTimer_, &QTimer::timeout, this, &SinkHost::feed);
        open();
    }

    void stop()
    {
        if (feedTimer_)
            feedTimer_->stop();
        // Stopping an output may run a nested event loop that delivers a
        // queued feed(): the members are cleared before anything is deleted.
        if (QAudioSink *sink = std::exchange(sink_, nullptr)) {
            io_ = nullptr;
            sink->disconnect(this);
            sink->stop();
            delete sink;
        }
        setDevice({});
    }

    // Tops the output up to its buffer's length while a sound plays.
    void feed()
    {
        if (!sink_ || !io_)
            return;
        {
            QMutexLocker lock(&line_->mutex);
            if (!line_->sound && line_->timeline.empty())
                return;
        }
        const qsizetype bytes = sink_->bytesFree() & ~qsizetype(1);
        if (bytes <= 0)
            return;
        buffer_.resize(bytes);
        fill(*line_, buffer_.data(), bytes);
        io_->write(buffer_.constData(), bytes);
    }

private:
    void open()
    {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return; // silent until a device appears
        QAudioFormat format;
        format.setSampleRate(kPlaybackRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = new QAudioSink(device, format, this);
        sink_->setBufferSize(kBufferBytes);
        connect(sink_, &QAudioSink::stateChanged, this, [this](QAudio::State state) {
            // An output that fails (a device unplugged) is opened afresh.
            if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)
                reopenTimer_->start(kReopenDelayMs);
        });
        io_ = sink_->start();
        deviceId_ = device.id();
        setDevice(io_ ? device.description() : QString());
        feed();
        feedTimer_->start(kFeedEveryMs);
    }

    // A new default output (a speaker plugged in, the user's choice) is
    // taken at once; a list that changed elsewhere keeps the open output.
    void reopenIfMoved()
    {
        if (QMediaDevices::defaultAudioOutput().id() != deviceId_ || !sink_)
            open();
    }

    void setDevice(const QString &name)
    {
        QMutexLocker lock(&line_->mutex);
        line_->device = name;
    }

    std::shared_ptr<VoiceLine> line_;
    QMediaDevices *devices_ = nullptr;
    QAudioSink *sink_ = nullptr;
    QIODevice *io_ = nullptr;
    QTimer *reopenTimer_ = nullptr;
    QTimer *feedTimer_ = nullptr;
    QByteArray deviceId_;
    QByteArray buffer_;
};

QtWavePlayer::QtWavePlayer()
    : thread_(new QThread), host_(new SinkHost(line_))
{
    thread_->setObjectName(QStringLiteral("kelvoran sound"));
    host_->moveToThread(thread_);
    thread_->start();
    QMetaObject::invokeMethod(host_, [host = host_] { host->start(); }, Qt::QueuedConnection);
}

QtWavePlayer::~QtWavePlayer()
{
    cancelled_->store(true);
    close();
    // The output is closed and its host deleted on their own thread, after
    // every call already queued, and only then does the thread end.
    QMetaObject::invokeMethod(host_, [host = host_] {
        host->stop();
        delete host;
        QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    if (thread_->wait(kExitWaitMs)) {
        delete thread_;
    } else {
        // The audio server does not answer: the thread is left to the end
        // of the process rather than holding the program open.
        qWarning("kelvoran: the sound thread did not end; leaving it behind");
    }
}

void QtWavePlayer::play(const QString &path)
{
    SoundBank::Samples sound = bank_->get(path);
    {
        QMutexLocker lock(&line_->mutex);
        line_->sound = std::move(sound);
        line_->position = 0;
        line_->timeline.clear();
    }
    // Fed at once rather than at the next tick.
    QMetaObject::invokeMethod(host_, [host = host_] { host->feed(); }, Qt::QueuedConnection);
}

void QtWavePlayer::close()
{
    QMutexLocker lock(&line_->mutex);
    line_->sound = nullptr;
    line_->timeline.clear();
}

void QtWavePlayer::playTimeline(const std::vector<Cue> &cues, long long endFrame)
{
    // Decoded (or taken from memory) before the lock: a mora used a hundred
    // times is looked up once.
    std::vector<TimedSound> timeline;
    timeline.reserve(cues.size() + 1);
    QHash<QString, SoundBank::Samples> sounds;
    if (cues.empty() || cues.front().frame > 0)
        timeline.push_back({nullptr, 0});
    for (const Cue &c : cues) {
        auto it = sounds.constFind(c.path);
        if (it == sounds.cend())
            it = sounds.insert(c.path, c.path.isEmpty() ? nullptr : bank_->get(c.path));
        timeline.push_back({*it, c.frame});
    }
    {
        QMutexLocker lock(&line_->mutex);
        line_->sound = nullptr;
        line_->timeline = std::move(timeline);
        line_->cue = 0;
        line_->timelineAt = 0;
        line_->timelineEnd = std::max<qint64>(endFrame, 1);
    }
    QMetaObject::invokeMethod(host_, [host = host_] { host->feed(); }, Qt::QueuedConnection);
}

void QtWavePlayer::preload(const QString &folder)
{
    QThreadPool::globalInstance()->start([bank = bank_, cancelled = cancelled_, folder] {
        bank->preload(folder, *cancelled);
    });
}

QString QtWavePlayer::outputDevice() const
{
    QMutexLocker lock(&line_->mutex);
    return line_->device;
}

} // namespace kel

#include "speech/QtWavePlayer.h"

#include "speech/RealTime.h"
#include "speech/WavCodec.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <utility>

namespace kel {
namespace {

// A touch's output: 30 ms of buffer, kept full while a sound plays: enough
// on a machine with work to spare (with every core busy the audio server
// now and then lets it run dry for a moment, breaking a sound up, which is
// why a reading's steps go through the reading output), little enough that
// the next sound cuts it off within that time (the server starts a stream
// only once its whole buffer is filled, so the buffer and the lead are
// one). Between
// sounds nothing stands queued: the output stays open but runs dry, and a
// new sound fills it at once and starts as soon as the audio server mixes
// next, instead of waiting behind queued silence.
constexpr qsizetype kTouchBufferBytes = kPlaybackRate * 2 * 30 / 1000;
// A reading's output: a timeline is rendered seconds ahead, so a long lead
// can stand queued at the audio server. 30 ms there ran dry on a busy
// machine even with every thread of this process scheduled first: the
// server's own main thread, which passes each block on, waited that long
// for a processor, and every mora after it came late. A quarter second
// asked for (the server grants about 200 ms) outlasts such waits; a stop
// does not wait for it, since the output is then closed and opened afresh,
// dropping what it held.
constexpr qsizetype kReadingBufferBytes = kPlaybackRate * 2 * 250 / 1000;
constexpr int kFeedEveryMs = 4;
constexpr int kReopenDelayMs = 1000;
// A new default output is not announced as a change of the device list, so
// it is also looked for once a second.
constexpr int kDefaultCheckMs = 1000;
constexpr unsigned long kExitWaitMs = 1000;

// Copies the current touch sound, then silence, into `out`; returns the
// bytes to write.
qsizetype fillTouch(VoiceLine &line, char *out, qsizetype bytes)
{
    qsizetype filled = 0;
    {
        QMutexLocker lock(&line.mutex);
        if (const SoundBank::Samples &s = line.sound) {
            const size_t n = std::min(size_t(bytes / 2), s->size() - line.position);
            std::memcpy(out, s->data() + line.position, n * 2);
            line.position += n;
            filled = qsizetype(n * 2);
            if (line.position >= s->size())
                line.sound = nullptr;
        }
    }
    std::memset(out + filled, 0, size_t(bytes - filled));
    return bytes;
}

} // namespace

// One stream to the audio server.
struct Output {
    QAudioSink *sink = nullptr;
    QIODevice *io = nullptr;

    bool holdsSound() const { return sink && sink->bytesFree() < sink->bufferSize(); }
};

// Keeps two outputs open on the default device and fed, one for touches and
// one for readings; every call runs on the sound thread.
class SinkHost final : public QObject {
public:
    explicit SinkHost(std::shared_ptr<VoiceLine> line) : line_(std::move(line)) {}

    // The thread feeding the outputs, and the audio library's own thread it
    // starts on first use, which sends what is written on to the server,
    // are scheduled before ordinary work where the system allows it: a
    // feeding thread that waits longer than an output holds (30 ms for a
    // touch) for the processor lets it run dry, and the server then plays
    // silence and everything after it comes late.
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
        closeOutput(touch_);
        closeOutput(reading_);
        setDevice({});
    }

    void feed()
    {
        feedTouch();
        feedReading();
    }

private:
    // Tops the touch output up to its buffer's length while a sound plays.
    void feedTouch()
    {
        if (!touch_.io)
            return;
        {
            QMutexLocker lock(&line_->mutex);
            if (!line_->sound)
                return;
        }
        const qsizetype bytes = touch_.sink->bytesFree() & ~qsizetype(1);
        if (bytes <= 0)
            return;
        buffer_.resize(bytes);
        touch_.io->write(buffer_.constData(), fillTouch(*line_, buffer_.data(), bytes));
    }

    // Writes all of the timeline the reading output has room for and the
    // renderer has ready. What the output still holds of a timeline stopped
    // or replaced since is dropped first; a timeline played to its end is
    // followed by one buffer of silence, without which a reading shorter
    // than the buffer would never start.
    void feedReading()
    {
        for (int pass = 0; pass < 2 && reading_.io; ++pass) {
            const qsizetype bytes = std::max<qsizetype>(0, reading_.sink->bytesFree() & ~qsizetype(1));
            buffer_.resize(bytes);
            unsigned timeline = 0;
            qsizetype filled = line_->timeline.read(reinterpret_cast<qint16 *>(buffer_.data()), bytes / 2, &timeline) * 2;
            const bool replaced = timeline != timelineHeld_;
            if (replaced) {
                timelineHeld_ = timeline;
                silenceOwed_ = false;
                if (reading_.holdsSound())
                    reopenReading();
            }
            if (filled == 0 && bytes > 0 && silenceOwed_ && !line_->timeline.playing()) {
                std::memset(buffer_.data(), 0, size_t(bytes));
                filled = bytes;
                silenceOwed_ = false;
            }
            else if (filled > 0) {
                silenceOwed_ = true;
            }
            if (filled > 0 && reading_.io)
                reading_.io->write(buffer_.constData(), filled);
            // An output opened afresh has room for more at once.
            if (!replaced || filled == 0)
                return;
        }
    }

    void open()
    {
        stop();
        device_ = QMediaDevices::defaultAudioOutput();
        if (device_.isNull())
            return; // silent until a device appears
        touch_ = openOutput(kTouchBufferBytes);
        reading_ = openOutput(kReadingBufferBytes);
        setDevice(touch_.io ? device_.description() : QString());
        feed();
        feedTimer_->start(kFeedEveryMs);
    }

    Output openOutput(qsizetype bufferBytes)
    {
        QAudioFormat format;
        format.setSampleRate(kPlaybackRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        Output out;
        out.sink = new QAudioSink(device_, format, this);
        out.sink->setBufferSize(bufferBytes);
        connect(out.sink, &QAudioSink::stateChanged, this, [this, sink = out.sink](QAudio::State state) {
            // An output that fails (a device unplugged) is opened afresh.
            if (state == QAudio::StoppedState && (sink == touch_.sink || sink == reading_.sink) && sink->error() != QAudio::NoError)
                reopenTimer_->start(kReopenDelayMs);
        });
        out.io = out.sink->start();
        return out;
    }

    void closeOutput(Output &out)
    {
        // Stopping an output may run a nested event loop that delivers a
        // queued feed(): the members are cleared before anything is deleted.
        if (QAudioSink *sink = std::exchange(out.sink, nullptr)) {
            out.io = nullptr;
            sink->disconnect(this);
            sink->stop();
            delete sink;
        }
    }

    void reopenReading()
    {
        closeOutput(reading_);
        reading_ = openOutput(kReadingBufferBytes);
    }

    // A new default output (a speaker plugged in, the user's choice) is
    // taken at once; a list that changed elsewhere keeps the open output.
    void reopenIfMoved()
    {
        if (QMediaDevices::defaultAudioOutput().id() != device_.id() || !touch_.sink)
            open();
    }

    void setDevice(const QString &name)
    {
        QMutexLocker lock(&line_->mutex);
        line_->device = name;
    }

    std::shared_ptr<VoiceLine> line_;
    QMediaDevices *devices_ = nullptr;
    Output touch_, reading_;
    QTimer *reopenTimer_ = nullptr;
    QTimer *feedTimer_ = nullptr;
    QAudioDevice device_;
    QByteArray buffer_;
    unsigned timelineHeld_ = 0; // the timeline whose samples the reading output holds
    bool silenceOwed_ = false;
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
        line_->timeline.stop();
    }
    // Fed at once rather than at the next tick.
    QMetaObject::invokeMethod(host_, [host = host_] { host->feed(); }, Qt::QueuedConnection);
}

void QtWavePlayer::playStep(const QString &path)
{
    // A timeline of the one sound from its first sample: the reading output
    // drops what it still holds of the step before, as it does for a
    // replaced timeline, so the sound is cut at the step all the same.
    const SoundBank::Samples sound = bank_->get(path);
    const long long length = sound ? qsizetype(sound->size()) : 0;
    startTimeline({{sound, 0, 0}}, length);
}

void QtWavePlayer::close()
{
    QMutexLocker lock(&line_->mutex);
    line_->sound = nullptr;
    line_->timeline.stop();
}

void QtWavePlayer::playTimeline(const std::vector<Cue> &cues, long long endFrame)
{
    // Decoded (or taken from memory) and rendered before the lock: a mora
    // used a hundred times is looked up once.
    std::vector<PlacedSound> placed;
    placed.reserve(cues.size());
    QHash<QString, SoundBank::Sound> sounds;
    for (const Cue &c : cues) {
        auto it = sounds.constFind(c.path);
        if (it == sounds.cend())
            it = sounds.insert(c.path, c.path.isEmpty() ? SoundBank::Sound() : bank_->sound(c.path));
        placed.push_back({it->samples, it->onset, c.frame, c.gain, c.semitones});
    }
    startTimeline(std::move(placed), endFrame);
}

void QtWavePlayer::startTimeline(std::vector<PlacedSound> placed, long long endFrame)
{
    {
        QMutexLocker lock(&line_->mutex);
        line_->sound = nullptr;
    }
    // Its start rendered here, without the line's lock: the sound thread
    // keeps copying meanwhile.
    line_->timeline.start(std::make_unique<TimelineRender>(std::move(placed), endFrame));
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

#include "speech/QtWavePlayer.h"

#include <QFileInfo>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace kel {

// Owns the sound that is playing; every call runs on the sound thread.
class SoundEffectHost final : public QObject {
public:
    void play(const QString &path)
    {
        close();
        // Checked here so that a character without a recording stays silent
        // instead of making the effect log a decoding error on every step.
        if (!QFileInfo(path).isFile())
            return;
        // Without any output device an effect would warn on every character.
        if (QMediaDevices::audioOutputs().isEmpty())
            return;
        auto *effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
        effect->play(); // starts as soon as the sample has loaded
        current_ = effect;
    }

    void close()
    {
        if (!current_)
            return;
        current_->stop();
        // The sample may still be loading or the audio sink draining: the
        // effect goes from the event loop, not from inside this call.
        current_->deleteLater();
        current_ = nullptr;
    }

private:
    QPointer<QSoundEffect> current_;
};

QtWavePlayer::QtWavePlayer()
    : host_(new SoundEffectHost)
{
    thread_.setObjectName(QStringLiteral("kelvoran sound"));
    host_->moveToThread(&thread_);
    QObject::connect(&thread_, &QThread::finished, host_, &QObject::deleteLater);
    thread_.start();
}

QtWavePlayer::~QtWavePlayer()
{
    close();
    thread_.quit(); // runs after the queued close; pending deletions happen as the thread ends
    thread_.wait();
}

void QtWavePlayer::play(const QString &path)
{
    QMetaObject::invokeMethod(host_, [host = host_, path] { host->play(path); }, Qt::QueuedConnection);
}

void QtWavePlayer::close()
{
    QMetaObject::invokeMethod(host_, [host = host_] { host->close(); }, Qt::QueuedConnection);
}

} // namespace kel

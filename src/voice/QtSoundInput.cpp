// The microphones on Qt Multimedia.
#include "voice/SoundInput.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QObject>

namespace kel {
namespace {

class QtSoundInput final : public SoundInput {
public:
    QtSoundInput()
    {
        QObject::connect(&devices_, &QMediaDevices::audioInputsChanged, &context_, [this] {
            if (devicesChanged)
                devicesChanged();
        });
    }
    ~QtSoundInput() override { stop(); }

    QList<InputDevice> devices() const override
    {
        QList<InputDevice> out;
        for (const QAudioDevice &d : QMediaDevices::audioInputs())
            out.append({d.id(), d.description()});
        return out;
    }

    QByteArray defaultDevice() const override { return QMediaDevices::defaultAudioInput().id(); }

    bool start(const QByteArray &id, int rate) override
    {
        stop();
        QAudioDevice device;
        for (const QAudioDevice &d : QMediaDevices::audioInputs())
            if (d.id() == id)
                device = d;
        QAudioFormat format;
        format.setSampleRate(rate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format))
            return false;
        source_ = new QAudioSource(device, format, &context_);
        QObject::connect(source_, &QAudioSource::stateChanged, &context_, [this](QAudio::State s) {
            if (s == QAudio::StoppedState && source_ && source_->error() != QAudio::NoError && failed)
                failed();
        });
        QIODevice *io = source_->start();
        QObject::connect(io, &QIODevice::readyRead, &context_, [this, io, source = source_] {
            if (source_ == source && captured)
                captured(io->readAll());
        });
        return true;
    }

    void stop() override
    {
        if (!source_)
            return;
        source_->disconnect(&context_);
        source_->stop();
        source_->deleteLater();
        source_ = nullptr;
    }

private:
    QObject context_; // the connections end with this object
    QMediaDevices devices_;
    QAudioSource *source_ = nullptr;
};

} // namespace

std::unique_ptr<SoundInput> makeSoundInput()
{
    return std::make_unique<QtSoundInput>();
}

} // namespace kel

#pragma once
// The previous player, kept for comparison in bench_latency: a new
// QSoundEffect per sound, on a thread of its own, loading the file at each
// touch.

#include "speech/WavePlayer.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

namespace kel::bench {

class SoundEffectHost final : public QObject {
public:
    void play(const QString &path)
    {
        close();
        if (!QFileInfo(path).isFile() || QMediaDevices::audioOutputs().isEmpty())
            return;
        auto *effect = new QSoundEffect(this);
        effect->setSource(QUrl::fromLocalFile(path));
        effect->play();
        current_ = effect;
    }
    void close()
    {
        if (!current_)
            return;
        current_->stop();
        current_->deleteLater();
        current_ = nullptr;
    }

private:
    QPointer<QSoundEffect> current_;
};

class SoundEffectPlayer final : public WavePlayer {
public:
    SoundEffectPlayer() : host_(new SoundEffectHost)
    {
        host_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, host_, &QObject::deleteLater);
        thread_.start();
    }
    ~SoundEffectPlayer() override
    {
        close();
        thread_.quit();
        thread_.wait(2000);
    }
    void play(const QString &path) override
    {
        QMetaObject::invokeMethod(host_, [host = host_, path] { host->play(path); }, Qt::QueuedConnection);
    }
    void close() override
    {
        QMetaObject::invokeMethod(host_, [host = host_] { host->close(); }, Qt::QueuedConnection);
    }
    QString outputDevice() const override { return QMediaDevices::defaultAudioOutput().description(); }

private:
    QThread thread_;
    SoundEffectHost *host_;
};

} // namespace kel::bench

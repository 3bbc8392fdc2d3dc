#include "speech/LazyWavePlayer.h"

#include "speech/QtWavePlayer.h"

namespace kel {

LazyWavePlayer::LazyWavePlayer() = default;
LazyWavePlayer::~LazyWavePlayer() = default;

void LazyWavePlayer::open() const
{
    if (device_)
        return;
    device_ = std::make_unique<QtWavePlayer>();
}

void LazyWavePlayer::play(const QString &path)
{
    open();
    device_->play(path);
}

void LazyWavePlayer::playStep(const QString &path)
{
    open();
    device_->playStep(path);
}

void LazyWavePlayer::close()
{
    // Before the device exists nothing plays that could be cut.
    if (device_)
        device_->close();
}

void LazyWavePlayer::playTimeline(const std::vector<Cue> &cues, long long endFrame)
{
    open();
    device_->playTimeline(cues, endFrame);
}

QString LazyWavePlayer::outputDevice() const
{
    open();
    return device_->outputDevice();
}

void LazyWavePlayer::preload(const QString &folder)
{
    open();
    device_->preload(folder);
}

} // namespace kel

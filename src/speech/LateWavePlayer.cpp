#include "speech/LateWavePlayer.h"

#include "base/LateModule.h"

namespace kel {
namespace {

class SilentPlayer final : public WavePlayer {
public:
    void play(const QString &) override {}
    void close() override {}
};

} // namespace

LateWavePlayer::LateWavePlayer() = default;
LateWavePlayer::~LateWavePlayer() = default;

void LateWavePlayer::open() const
{
    if (device_)
        return;
    if (auto make = lateFunction<MakeWavePlayer>("make_wave_player"))
        device_.reset(make());
    else
        device_ = std::make_unique<SilentPlayer>();
}

void LateWavePlayer::play(const QString &path)
{
    open();
    device_->play(path);
}

void LateWavePlayer::close()
{
    // Before the device exists nothing plays that could be cut.
    if (device_)
        device_->close();
}

void LateWavePlayer::playTimeline(const std::vector<Cue> &cues, long long endFrame)
{
    open();
    device_->playTimeline(cues, endFrame);
}

QString LateWavePlayer::outputDevice() const
{
    open();
    return device_->outputDevice();
}

void LateWavePlayer::preload(const QString &folder)
{
    open();
    device_->preload(folder);
}

} // namespace kel

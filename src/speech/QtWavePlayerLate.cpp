// The sound device, made through the late module.
#include "base/LateModule.h"
#include "speech/LateWavePlayer.h"
#include "speech/QtWavePlayer.h"

namespace {
kel::WavePlayer *makeWavePlayer()
{
    return new kel::QtWavePlayer;
}
} // namespace

KEL_LATE_FUNCTION(make_wave_player, kel::MakeWavePlayer, makeWavePlayer);

#pragma once
// A wave-audio device that plays nothing and remembers what it was asked:
// each play(path) appends "play <path>", each close() appends "close".

#include "speech/WavePlayer.h"

#include <QStringList>

namespace kel {

class RecordingPlayer final : public WavePlayer {
public:
    void play(const QString &path) override { calls.append(QStringLiteral("play ") + path); }
    void close() override { calls.append(QStringLiteral("close")); }

    QStringList calls;
};

} // namespace kel

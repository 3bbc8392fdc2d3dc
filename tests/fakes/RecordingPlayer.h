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

    QStringList plays() const // just the paths, in order
    {
        QStringList paths;
        for (const QString &call : calls) {
            if (call.startsWith(u"play "))
                paths.append(call.mid(5));
        }
        return paths;
    }

    QStringList calls;
};

} // namespace kel

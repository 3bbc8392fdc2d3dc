#pragma once
// A wave-audio device that plays nothing and remembers what it was asked:
// each play(path) appends "play <path>", each close() appends "close", each
// timeline "timeline <path>@<frame> ... end <frame>" ("·" for silence), a
// cue's pitch step and gain after it when it has them ("か@0^-1.5*0.85").

#include "speech/WavePlayer.h"

#include <QStringList>

namespace kel {

class RecordingPlayer final : public WavePlayer {
public:
    void play(const QString &path) override { calls.append(QStringLiteral("play ") + path); }
    void close() override { calls.append(QStringLiteral("close")); }
    void playTimeline(const std::vector<Cue> &cues, long long endFrame) override
    {
        QString call = QStringLiteral("timeline");
        for (const Cue &c : cues)
            call += u' ' + (c.path.isEmpty() ? QStringLiteral("·") : c.path) + u'@' + QString::number(c.frame)
                    + (c.semitones ? u'^' + QString::number(c.semitones, 'g', 3) : QString())
                    + (c.gain != 1 ? u'*' + QString::number(c.gain, 'g', 3) : QString());
        calls.append(call + QStringLiteral(" end ") + QString::number(endFrame));
    }

    QStringList calls;
};

} // namespace kel

#pragma once
// The reading table behind SoundSet.h, kept as data in its own file.

#include <QList>
#include <QString>

namespace kel {

struct SoundReading {
    QString character;
    QString reading; // what the Japanese synthesiser voice is asked to say
};

const QList<SoundReading> &soundReadings();

} // namespace kel

#include "speech/SoundSet.h"

#include "speech/SoundSetTable.h"

namespace kel {

QStringList soundSetCharacters()
{
    QStringList characters;
    for (const SoundReading &entry : soundReadings())
        characters.append(QString::fromUtf16(entry.character));
    return characters;
}

QString readingFor(const QString &character)
{
    for (const SoundReading &entry : soundReadings()) {
        if (character == QStringView(entry.character))
            return QString::fromUtf16(entry.reading);
    }
    return {};
}

} // namespace kel

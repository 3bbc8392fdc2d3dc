#include "speech/SoundSet.h"

#include "speech/SoundSetTable.h"
#include "speech/WavName.h"

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

int silentCharacters(const QString &userFolder, const QString &defaultSet)
{
    int silent = 0;
    for (const QString &ch : soundSetCharacters())
        silent += soundFileFor(userFolder, defaultSet, ch) ? 0 : 1;
    return silent;
}

} // namespace kel

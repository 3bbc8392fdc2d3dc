#include "speech/SoundSet.h"

#include "reading/Morae.h"
#include "speech/SoundSetTable.h"
#include "speech/WavName.h"

namespace kel {

namespace {

// The Japanese voice says "りゅ" as "ryau": these pairs are given to it as
// its own phonemes instead.
constexpr const char16_t *kPairPhonemes[][2] = {
    {u"りゃ", u"[[r`_j'a]]"}, {u"りゅ", u"[[r`_j'u]]"}, {u"りょ", u"[[r`_j'o]]"}};

} // namespace

QStringList soundSetCharacters()
{
    QStringList characters;
    for (const SoundReading &entry : soundReadings())
        characters.append(entry.character);
    return characters + pairMorae();
}

QString readingFor(const QString &character)
{
    if (pairMorae().contains(character)) {
        for (const auto &p : kPairPhonemes)
            if (character == QStringView(p[0]))
                return QString::fromUtf16(p[1]);
        return character;
    }
    for (const SoundReading &entry : soundReadings()) {
        if (character == entry.character)
            return entry.reading;
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

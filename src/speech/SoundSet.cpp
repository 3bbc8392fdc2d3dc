#include "speech/SoundSet.h"

#include "reading/Morae.h"
#include "speech/SoundSetTable.h"
#include "speech/WavName.h"

namespace kel {

namespace {

// The Japanese voice says "りゅ" as "ryau", "てょ" as "teo", "きぇ" as "ki"
// and "すぃ" as "su": these morae are given to it as its own phonemes
// instead, written as it writes the morae it gets right ("きゃ" k_j'a).
constexpr const char16_t *kPairPhonemes[][2] = {
    {u"りゃ", u"[[r`_j'a]]"}, {u"りゅ", u"[[r`_j'u]]"}, {u"りょ", u"[[r`_j'o]]"},
    {u"てゃ", u"[[t_j'a]]"}, {u"てょ", u"[[t_j'o]]"}, {u"でゃ", u"[[d_j'a]]"}, {u"でょ", u"[[d_j'o]]"},
    {u"きぇ", u"[[k_j'e]]"}, {u"ぎぇ", u"[[g_j'e]]"}, {u"にぇ", u"[[n_j'e]]"}, {u"ひぇ", u"[[C'e]]"},
    {u"びぇ", u"[[b_j'e]]"}, {u"ぴぇ", u"[[p_j'e]]"}, {u"みぇ", u"[[m_j'e]]"}, {u"りぇ", u"[[r`_j'e]]"},
    {u"すぃ", u"[[s'i]]"}, {u"ずぃ", u"[[z'i]]"}, {u"ふゃ", u"[[p\\_j'a]]"}, {u"ふょ", u"[[p\\_j'o]]"},
    {u"くゎ", u"[[kw'a]]"}, {u"ぐゎ", u"[[gw'a]]"}, {u"ぐぁ", u"[[gw'a]]"}};

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

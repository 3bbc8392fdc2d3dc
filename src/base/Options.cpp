#include "base/Options.h"

namespace kel {
namespace {

std::optional<long long> asNumber(const QString &text)
{
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

// Out-of-range numbers of the touch, voice and flag options keep their text:
// the handlers define what any other value does. Only text that is not a
// number at all falls back to the default.
QString numericOrDefault(const QString &text, const char *def)
{
    return asNumber(text) ? text : QString::fromLatin1(def);
}

} // namespace

OptionCopies readOptionCopies(const std::function<std::optional<QString>(const QString &key)> &stored)
{
    OptionCopies copies;
    auto read = [&](const OptionKey &k) {
        return stored(QString::fromLatin1(k.key)).value_or(QString::fromLatin1(k.defaultValue));
    };
    for (int i = 0; i < 6; ++i) {
        const OptionKey &k = kOptionKeys[i];
        const QString text = read(k);
        // "Beep" and "Moji" are only ever compared with the text "1".
        copies.options << (i == 3 || i == 4 ? text : numericOrDefault(text, k.defaultValue));
    }
    const auto maxC = asNumber(read(kOptionKeys[6]));
    // Only the two board widths exist; any other stored width (a hand-edited
    // 12 or 20) would push columns off the grid, out of reach.
    copies.maxC = maxC && *maxC == 14 ? 14 : 9;
    const auto sample = asNumber(read(kOptionKeys[7]));
    copies.sampleChars = (!sample || *sample < 1 || *sample > 5) ? 2 : int(*sample);
    return copies;
}

} // namespace kel

#include "base/Options.h"

namespace kel {
namespace {

std::optional<long long> asNumber(const QString &text)
{
    bool ok = false;
    const long long n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional(n) : std::nullopt;
}

// The highest value each of the first six options can take; each starts
// at 0. The handlers know only these values: any other (a hand-edited
// OPT1=7, a sync tool's -1) would leave the board without a touch rule.
constexpr int kHighest[6] = {3, 1, 3, 1, 1, 1};

QString inRangeOrDefault(const QString &text, int highest, const char *def)
{
    const std::optional<long long> n = asNumber(text);
    return n && *n >= 0 && *n <= highest ? QString::number(*n) : QString::fromLatin1(def);
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
        copies.options << inRangeOrDefault(read(k), kHighest[i], k.defaultValue);
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

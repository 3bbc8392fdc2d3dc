#include "base/Options.h"

#include <cmath>

namespace kel {
namespace {

// The highest number each of the choice options (OPT1, OPT2, OPT3) can be;
// each starts at 0. The handlers know only these values: any other (a
// hand-edited OPT1=7, a sync tool's -1) would leave the board without a
// touch rule.
constexpr int kHighestChoice[3] = {3, 1, 3};
constexpr int kSamp = 5;

bool readable(int option, const QString &text)
{
    const std::optional<double> n = optionNumber(text);
    if (option < 3)
        return n && *n == std::floor(*n) && *n >= 0 && *n <= kHighestChoice[option];
    if (option == kSamp)
        return n.has_value();
    return true; // "Beep" and "Moji": on for "1", off for any other text
}

} // namespace

std::optional<double> optionNumber(const QString &text)
{
    bool ok = false;
    const double n = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(n) ? std::optional(n) : std::nullopt;
}

OptionCopies readOptionCopies(const std::function<std::optional<QString>(const QString &key)> &stored)
{
    OptionCopies copies;
    auto read = [&](const OptionKey &k) {
        return stored(QString::fromLatin1(k.key)).value_or(QString::fromLatin1(k.defaultValue));
    };
    for (int i = 0; i < 6; ++i) {
        const QString text = read(kOptionKeys[i]);
        copies.options << (readable(i, text) ? text : QString::fromLatin1(kOptionKeys[i].defaultValue));
    }
    const std::optional<double> maxC = optionNumber(read(kOptionKeys[6]));
    // Only the two board widths exist; any other stored width (a hand-edited
    // 12 or 20) would push columns off the grid, out of reach.
    copies.maxC = maxC == 14 ? 14 : 9;
    const std::optional<double> sample = optionNumber(read(kOptionKeys[7]));
    copies.sampleChars = sample && *sample == std::floor(*sample) && *sample >= 1 && *sample <= 5 ? int(*sample) : 2;
    return copies;
}

} // namespace kel

#include "base/OptionsForm.h"

#include <algorithm>
#include <optional>

namespace kel {
namespace {

// Room kept above the client area for the title bar and frame.
constexpr int kTitleBarPx = 40;

int choiceOf(double n, int buttons)
{
    return n >= 0 && n < buttons && n == int(n) ? int(n) : kNoChoice;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

OptionsForm formFromCopies(const AppState &st)
{
    OptionsForm f;
    f.choice[0] = choiceOf(st.number(OPT1), kGroupButtons[0]);
    f.choice[1] = choiceOf(st.number(OPT2), kGroupButtons[1]);
    f.choice[2] = choiceOf(st.number(OPT3), kGroupButtons[2]);
    // The same tests the rest of the program applies to these values.
    f.beep = st.beepOn();
    f.moji = st.option(Moji) == QLatin1String("1");
    f.samp = st.number(Samp) != 0;
    f.maxC = st.MaxC != 9;
    const int item = st.SampleChars - 1;
    f.sampleIndex = item >= 0 && item < int(kSampleItems.size()) ? item : kNoChoice;
    return f;
}

QList<StoredValue> valuesToStore(const OptionsForm &form)
{
    static constexpr std::array<const char *, kOptionGroups> kGroupKeys{"OPT1", "OPT2", "OPT3"};
    QList<StoredValue> out;
    for (int g = 0; g < kOptionGroups; ++g)
        if (form.choice[g] >= 0 && form.choice[g] < kGroupButtons[g])
            out.append({QLatin1String(kGroupKeys[g]), QString::number(form.choice[g])});
    out.append({QStringLiteral("Samp"), flag(form.samp)});
    out.append({QStringLiteral("Sample"), QString::number(form.sampleIndex < 0 ? 0 : form.sampleIndex + 1)});
    out.append({QStringLiteral("Beep"), flag(form.beep)});
    out.append({QStringLiteral("Moji"), flag(form.moji)});
    out.append({QStringLiteral("gMaxC"), form.maxC ? QStringLiteral("14") : QStringLiteral("9")});
    return out;
}

double optionsDialogScale(double mainScale, int availableHeightPx)
{
    if (availableHeightPx <= 0)
        return mainScale;
    // Below the design size the captions would no longer fit their controls.
    const double fits = (availableHeightPx - kTitleBarPx) * 15.0 / kOptionsHeightTwips;
    return std::min(mainScale, std::max(fits, 1.0));
}

} // namespace kel

#pragma once
// The eight stored options and how their text becomes the in-memory copies.
// The copies hold the stored text as it is, read the way the handlers read
// it: "OPT1", "OPT2", "OPT3" and "Samp" as numbers ("01" and "1.0" are 1,
// so "Samp" = "0.0" is off), "Beep" and "Moji" as the text "1" (so
// "Beep" = "01" is off). Only a value no handler could read takes the
// default: a touch rule that is no number or none of the choices
// ("OPT1" = "7" or "1.5" reads as "0"), a "Samp" that is no number.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kel {

struct OptionKey {
    const char *key;
    const char *defaultValue;
};

// In the order they are read; the first six fill AppState::Options.
inline constexpr OptionKey kOptionKeys[] = {
    {"OPT1", "0"}, {"OPT2", "0"}, {"OPT3", "0"}, {"Beep", "0"},
    {"Moji", "0"}, {"Samp", "1"}, {"gMaxC", "9"}, {"Sample", "2"},
};
inline constexpr const char *kSettingsApplication = "Talk";
inline constexpr const char *kSettingsSection = "OPT";

struct OptionCopies {
    QStringList options;
    int maxC = 9;
    int sampleChars = 2;
};

// A stored option as a number: " 1", "01", "1.0" -> 1, "0.5" -> 0.5;
// "", "abc", "inf" -> nothing.
std::optional<double> optionNumber(const QString &text);

// `stored` answers a key's stored text, or nothing when the key is absent.
OptionCopies readOptionCopies(const std::function<std::optional<QString>(const QString &key)> &stored);

} // namespace kel

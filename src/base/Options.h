#pragma once
// The eight stored options and how their text becomes the in-memory copies.
// Bad stored values never reach the rest of the program: a value that is
// not a number, or a number outside the choices the options dialog offers,
// reads as its default ("OPT1" = "7" reads as "0", "Beep" = "2" as "0").

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

// `stored` answers a key's stored text, or nothing when the key is absent.
OptionCopies readOptionCopies(const std::function<std::optional<QString>(const QString &key)> &stored);

} // namespace kel

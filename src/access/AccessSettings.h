#pragma once
// The settings of switch scanning, dwell selection and the reading pace, kept
// in a group of their own ("ACCESS") of the settings file. With nothing
// stored every value is its default and the program behaves as it always
// did: no scanning, no dwell, 0.8 s per character read.

#include <QString>
#include <functional>
#include <optional>

namespace kel {

inline constexpr const char *kAccessGroup = "ACCESS";

enum class ScanKind { Off = 0, OneSwitch = 1, TwoSwitches = 2 };

struct AccessSettings {
    int Scan = 0;            // 0 off, 1 one switch (automatic), 2 two switches (step)
    int ScanStep = 1000;     // ms each item stays highlighted
    double ScanFirst = 1.5;  // the first item of a group stays ScanStep x this
    int ScanRounds = 2;      // unanswered rounds before going up a level
    int ScanOrder = 0;       // 0 columns then cells, 1 rows then cells
    int ScanVoice = 0;       // 1 names the highlighted column or cell
    int SwitchAccept = 0;    // ms a switch must be held to count
    int SwitchLock = 300;    // ms after a press during which another is ignored
    int ScanMouse = 0;       // 1 mouse buttons are switches too
    int Dwell = 0;           // ms resting on a target selects it; 0 off
    int Pace = 800;          // ms per character when reading aloud
    int ScanSettings = 0;    // 1 offers "設定" to the scan too

    ScanKind scanKind() const { return ScanKind(Scan); }
    bool operator==(const AccessSettings &) const = default;
};

// One stored key: its name, default and inclusive range. `extra` is a value
// outside the range that is still allowed (Dwell's 0, "off").
struct AccessKey {
    const char *key;
    double defaultValue;
    double low, high;
    bool fractional;
    std::optional<double> extra;
};
extern const AccessKey kAccessKeys[12];

// Reads every key through `stored` (nothing when absent). A value that is
// not a number, not whole where it must be, or out of its range reads as
// the default.
AccessSettings readAccessSettings(const std::function<std::optional<QString>(const QString &key)> &stored);

// Writes every key through `save`; false when one of them failed.
bool saveAccessSettings(const AccessSettings &s, const std::function<bool(const QString &key, const QString &value)> &save);

} // namespace kel

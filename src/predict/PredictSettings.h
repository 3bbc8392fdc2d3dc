#pragma once
// Prediction's settings, the group "PREDICT" of the settings file:
//   On=0|1     candidates offered (default 0: the board as it always was)
//   Count=1..8 candidates shown (default 5)
//   Strip=0|1  a row of candidates above the board on the main screen
// A value that is not a whole number in its range reads as the default.

#include <QString>

#include <functional>
#include <optional>

namespace kel {

inline constexpr const char *kPredictGroup = "PREDICT";
inline constexpr int kMaxCandidates = 8;

struct PredictSettings {
    bool on = false;
    int count = 5;
    bool strip = false;
    bool operator==(const PredictSettings &) const = default;
};

PredictSettings readPredictSettings(const std::function<std::optional<QString>(const QString &key)> &stored);
// False when a key could not be saved.
bool savePredictSettings(const PredictSettings &s,
                         const std::function<bool(const QString &key, const QString &value)> &save);

} // namespace kel

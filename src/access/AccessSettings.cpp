#include "access/AccessSettings.h"

#include <cmath>

namespace kel {

const AccessKey kAccessKeys[12] = {
    {"Scan", 0, 0, 2, false, {}},
    {"ScanStep", 1000, 300, 5000, false, {}},
    {"ScanFirst", 1.5, 1, 3, true, {}},
    {"ScanRounds", 2, 1, 5, false, {}},
    {"ScanOrder", 0, 0, 1, false, {}},
    {"ScanVoice", 0, 0, 1, false, {}},
    {"SwitchAccept", 0, 0, 2000, false, {}},
    {"SwitchLock", 300, 0, 2000, false, {}},
    {"ScanMouse", 0, 0, 1, false, {}},
    {"Dwell", 0, 300, 3000, false, 0.0},
    {"Pace", 800, 300, 2000, false, {}},
    {"ScanSettings", 0, 0, 1, false, {}},
};

namespace {

// The fields in the order of kAccessKeys.
template <typename Settings, typename Visit>
void forEachField(Settings &s, Visit visit)
{
    visit(0, s.Scan);
    visit(1, s.ScanStep);
    visit(2, s.ScanFirst);
    visit(3, s.ScanRounds);
    visit(4, s.ScanOrder);
    visit(5, s.ScanVoice);
    visit(6, s.SwitchAccept);
    visit(7, s.SwitchLock);
    visit(8, s.ScanMouse);
    visit(9, s.Dwell);
    visit(10, s.Pace);
    visit(11, s.ScanSettings);
}

double parse(const AccessKey &k, const std::optional<QString> &text)
{
    if (!text)
        return k.defaultValue;
    bool ok = false;
    const double v = text->trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || (!k.fractional && v != std::floor(v)))
        return k.defaultValue;
    if (k.extra && v == *k.extra)
        return v;
    return (v < k.low || v > k.high) ? k.defaultValue : v;
}

} // namespace

AccessSettings readAccessSettings(const std::function<std::optional<QString>(const QString &key)> &stored)
{
    AccessSettings s;
    forEachField(s, [&](int i, auto &field) {
        const AccessKey &k = kAccessKeys[i];
        field = static_cast<std::remove_reference_t<decltype(field)>>(parse(k, stored(QString::fromLatin1(k.key))));
    });
    return s;
}

bool saveAccessSettings(const AccessSettings &s, const std::function<bool(const QString &key, const QString &value)> &save)
{
    bool ok = true;
    forEachField(s, [&](int i, const auto &field) {
        ok = save(QString::fromLatin1(kAccessKeys[i].key), QString::number(field)) && ok;
    });
    return ok;
}

} // namespace kel

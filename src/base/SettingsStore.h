#pragma once
// The per-user settings store: an INI file, Talk.ini in the user's
// configuration folder, section "OPT". Saving reports whether the value
// really reached the disk.

#include "base/AppState.h"

#include <QString>
#include <optional>

namespace kel {

class SettingsStore {
public:
    explicit SettingsStore(QString iniPath) : path_(std::move(iniPath)) {}
    static QString defaultPath();

    QString path() const { return path_; }
    std::optional<QString> value(const QString &key) const;
    // False when the store could not be written.
    bool save(const QString &key, const QString &value);
    // The same in another group of the file, for settings of their own
    // ("ACCESS"), so that the options' group never sees them.
    std::optional<QString> value(const QString &group, const QString &key) const;
    bool save(const QString &group, const QString &key, const QString &value);

private:
    QString path_;
};

// Refreshes the option copies of `st` from the store.
void ReadOptions(AppState &st, const SettingsStore &store);

} // namespace kel

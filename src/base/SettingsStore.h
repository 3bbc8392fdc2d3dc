#pragma once
// The per-user settings store: an INI file, Talk.ini in the user's
// configuration folder, section "OPT". Other groups hold what the program
// keeps beyond the options. Every value is text. A save rewrites the whole
// file through saveCheckingOutside (base/OutsideChange.h) and reports whether
// the value really reached the disk; on failure the old file stays whole.

#include "base/AppState.h"

#include "base/OutsideChange.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace kel {

// Groups of key = text, as the settings file holds them.
using IniGroups = std::map<QString, std::map<QString, QString>>;
// The file's bytes for `groups`, in a form QSettings reads back unchanged.
QByteArray iniText(const IniGroups &groups);
// Every group of the settings file at `path` (none when it is missing, not
// a regular file, or over its limit: StoredFile.h).
IniGroups readIniGroups(const QString &path);
// Every group `bytes` hold, read as the file would be; no temporary file is
// made (a full TMPDIR must not make a sound file look broken).
IniGroups iniGroupsOf(const QByteArray &bytes);

class SettingsStore {
public:
    explicit SettingsStore(QString iniPath) : path_(std::move(iniPath)) {}
    static QString defaultPath();

    QString path() const { return path_; }
    std::optional<QString> value(const QString &key) const;
    // False when the store could not be written.
    bool save(const QString &key, const QString &value);
    std::optional<QString> valueIn(const QString &group, const QString &key) const;
    bool saveIn(const QString &group, const QString &key, const QString &value);
    // Forgets the file as read, after another part of the program replaced
    // it (a restored backup).
    void reread() { groups_.reset(); }
    // Told, in words for the user, when a save found that another program
    // (an editor, a sync tool) had changed Talk.ini: its lines were merged
    // or its version kept beside (base/OutsideChange.h).
    void setOutsideChangeNotice(std::function<void(const QString &)> notice) { notice_ = std::move(notice); }

private:
    // The file as read once and as stored since: QSettings keeps its own
    // copy of a file it has read and can miss a rewrite made within the same
    // millisecond at the same size. `seen_` holds its bytes, so that a save
    // can tell when another program has changed it meanwhile.
    const IniGroups &groups() const;
    QString path_;
    mutable std::optional<IniGroups> groups_;
    mutable SeenFile seen_;
    std::function<void(const QString &)> notice_;
};

// Refreshes the option copies of `st` from the store.
void ReadOptions(AppState &st, const SettingsStore &store);

} // namespace kel

#pragma once
// Kiosk use: an entry in the desktop's autostart folder
// ($XDG_CONFIG_HOME/autostart, else ~/.config/autostart) that starts the
// program full screen when the user logs in.

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

// "~/.config/autostart/kelvoran.desktop" with $XDG_CONFIG_HOME honoured.
QString autostartFile();

// The entry's text; nullopt when an argument cannot be written into it (a
// line break or another control character).
// autostartEntry("/usr/bin/kelvoran", {"--fullscreen"}) holds the line
//   Exec=/usr/bin/kelvoran --fullscreen
// autostartEntry("/opt/my talk/kelvoran", {"--home", "/srv/50%"}) holds
//   Exec="/opt/my talk/kelvoran" --home /srv/50%%
std::optional<QString> autostartEntry(const QString &program, const QStringList &args);

// Writes (on) or removes (off) the entry for the running program started
// with `args` (--fullscreen is always added). "" on success, else why not.
QString setAutostart(bool on, const QStringList &args = {});
bool autostartEnabled();

} // namespace kel

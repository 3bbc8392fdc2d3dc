#pragma once
// The backups from the command line, for a caregiver's backup script:
//   kelvoran --export-voice FILE
//   kelvoran --import-voice FILE [--force]
//   kelvoran --backup FILE
//   kelvoran --restore FILE [--force]
// Prints one line on what was done (or why not) and returns the exit status.
// `dataFolder` is the user's folder, where own recordings live; `iniPath`
// the settings file.

#include "base/CommandLine.h"

namespace kel {

// True when the request is one of these commands.
bool isBackupCommand(const StartRequest &req);
int runVoiceCommand(const StartRequest &req, const QString &dataFolder, const QString &iniPath);

} // namespace kel

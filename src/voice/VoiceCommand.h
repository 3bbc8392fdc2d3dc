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
// runVoiceCommand() as one copy of the program on the data folder: an
// import or a restore holds the folder's lock throughout and refuses, with
// nothing changed, while a window (or another such command) has it; a
// backup or export only reads, so it runs beside a window. A change cut
// off by a kill is finished first, unless another copy has the folder.
int runVoiceCommandLocked(const StartRequest &req, const QString &dataFolder, const QString &iniPath);
// Said when the data folder is held by another copy.
inline const char *const kCloseKelvoranFirst = "Kelvoran が開いています。閉じてから、もう一度実行してください。何も変えていません。";

} // namespace kel

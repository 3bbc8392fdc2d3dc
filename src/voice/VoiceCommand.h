#pragma once
// The voice backup from the command line, for a caregiver's backup script:
//   kelvoran --export-voice FILE
//   kelvoran --import-voice FILE [--force]
// Prints one line on what was done (or why not) and returns the exit status.
// `dataFolder` is the user's folder, where own recordings live.

#include "base/CommandLine.h"

namespace kel {

int runVoiceCommand(const StartRequest &req, const QString &dataFolder);

} // namespace kel

#pragma once
// One backup of everything the user has: the sentences (Talk.txt), the
// diary (day.txt), the texts read aloud (read.txt), the settings (every group of Talk.ini: the options,
// switch and dwell, the voice's own) and the whole voice (VoiceArchive.h),
// in one gzip-compressed tar with a manifest of each file's size and
// SHA-256:
//
//   manifest.txt   "kelvoran-backup 1", then "<name>\t<size>\t<sha256>" per file
//   Talk.txt  day.txt  read.txt  Talk.ini   as they are (each only when it exists)
//   voice.tar.gz                  the voice backup
//
// Read as the voice backup is, and restored all or nothing, voice included
// (StagedChange.h).

#include "voice/VoiceArchive.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace kel {

inline constexpr qint64 kMaxBackupBytes = kMaxVoiceArchiveBytes + (qint64(64) << 20);

struct FullBackup {
    bool ok = false;
    QString error; // why it was refused, when !ok
    std::optional<QByteArray> talk, day, read, ini;
    VoiceBackup voice;
};

// Writes the backup of `places` to `file` (see backupTarget); false with
// `error`, the file then as it was. `summary` says what it holds.
bool writeFullBackup(const BackupPlaces &places, const QString &file, QString *error, QString *summary = nullptr);

// The name a new backup is offered under: "kelvoran-2026-12-07.tar.gz".
QString backupFileName(QDate day);

FullBackup readFullBackup(const QString &file);
FullBackup readFullBackupBytes(const QByteArray &bytes);

// The files a restore would replace with different bytes ("Talk.txt",
// "Talk.ini", "あ.wav", ...): what the user is asked about first.
QStringList replacedByRestore(const BackupPlaces &places, const FullBackup &backup);

// Puts everything of the backup in place, or nothing; false with `error`.
bool restoreFullBackup(const BackupPlaces &places, const FullBackup &backup, QString *error);

} // namespace kel

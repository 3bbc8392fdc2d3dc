#pragma once
// The voice backup: every own recording with its raw take, and a manifest
// naming the character of each file with its size and SHA-256, in one
// gzip-compressed tar archive (libarchive).
//
// Reading checks the whole archive before anything is written: a damaged
// or foreign archive, a file the manifest does not account for, a path that
// is not one of its own plain names ("../", "/", a folder of its own), or a
// sound that is not a WAV refuses the archive whole.

#include "voice/VoiceFolder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kel {

struct VoiceRecording {
    QString character;
    QByteArray sound, take;
};

struct VoiceBackup {
    bool ok = false;
    QString error; // why it was refused, when !ok
    QList<VoiceRecording> recordings;
};

// The archive of every own recording in `folder`; false with `error` when
// it could not be written (the file is then left as it was).
bool exportVoice(const VoiceFolder &folder, const QString &file, QString *error, int *count = nullptr);

VoiceBackup readVoiceBackup(const QString &file);
// The same, for an archive already in memory.
VoiceBackup readVoiceBackupBytes(const QByteArray &bytes);

// Characters the backup would overwrite that already have an own
// recording different from the backup's.
QStringList ownRecordingsOverwritten(const VoiceFolder &folder, const VoiceBackup &backup);

// Keeps every recording of the backup; false with `error` at the first
// failure to write.
bool importVoice(VoiceFolder &folder, const VoiceBackup &backup, QString *error);

} // namespace kel

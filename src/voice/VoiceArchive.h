#pragma once
// The voice backup: every sound file of the user's folder (recorded in the
// studio or placed there by hand) with its raw take when it has one, and a
// manifest naming the character of each file with its size and SHA-256, in
// one gzip-compressed tar archive (ArchiveFile.h).
//
// Reading checks the whole archive before anything is written: a file that
// is not a regular one or is over kMaxVoiceArchiveBytes, a damaged or
// foreign archive, a file the manifest does not account for, a path that is
// not one of its own plain names ("../", "/", a folder of its own), a
// character outside the sound set and its morae ("Talk.txt", ".hidden",
// control characters), or a sound that is not a WAV or runs over the sound
// limits (WavCodec.h) refuses the archive whole. Taking it is all or
// nothing (StagedChange.h).

#include "voice/StagedChange.h"
#include "voice/VoiceFolder.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kel {

inline constexpr qint64 kMaxVoiceArchiveBytes = qint64(256) << 20; // packed, and again unpacked

struct VoiceRecording {
    QString character;
    QByteArray sound, take; // take empty: a sound without one (placed by hand)
};

struct VoiceBackup {
    bool ok = false;
    QString error;  // why it was refused, when !ok, as said to the user
    QString reason; // the same without the words around it, for a caller's own sentence
    QList<VoiceRecording> recordings;

    // The characters it holds, their heights not counted.
    qsizetype characters() const;
};

// What a voice archive holds, and the sounds it leaves out by name ("あ"):
// those a restore would refuse (over the sound limits, not a WAV, not a
// regular file), and those past what one archive may hold. An oversized
// file is judged by its size alone, never read.
struct VoiceArchiveCount {
    int sounds = 0; // heights not counted
    QStringList leftOut;
};

// The archive's bytes for every sound of `folder` (ownSounds()).
std::optional<QByteArray> voiceArchive(const VoiceFolder &folder, QString *error, VoiceArchiveCount *count = nullptr);
// The same, written to `file` (see backupTarget); false with `error` when it
// could not be written (the file is then left as it was).
bool exportVoice(const VoiceFolder &folder, const QString &file, QString *error, VoiceArchiveCount *count = nullptr);
// "（入れなかった声：あ、い）" for sounds left out, else "".
QString leftOutNote(const QStringList &leftOut);

VoiceBackup readVoiceBackup(const QString &file);
// The same, for an archive already in memory.
VoiceBackup readVoiceBackupBytes(const QByteArray &bytes);

// Characters the backup would overwrite that already have an own
// recording different from the backup's (their heights go with them).
QStringList ownRecordingsOverwritten(const VoiceFolder &folder, const VoiceBackup &backup);

// What taking the backup changes: each sound, its take (or the removal of
// an old take, for a sound without one), and the sound a recording
// replaces put aside as VoiceFolder::keep does; the heights of a sound
// the backup holds without them are removed, being of the sound replaced.
QList<FileChange> voiceChanges(const VoiceFolder &folder, const VoiceBackup &backup);
// Takes every recording of the backup, or none; false with `error`.
bool importVoice(VoiceFolder &folder, const VoiceBackup &backup, QString *error);

} // namespace kel

#pragma once
// Reading one of the user's stored files (Talk.txt, day.txt, Talk.ini) so
// that nothing else can be read in its place:
//   - a symbolic link at the file's own name is not followed: another
//     program (or another user of a shared stick) could point it at any
//     file, and a save would then be written there;
//   - only a regular file is read: a FIFO would wait for ever, /dev/zero
//     would never end, a device could do anything;
//   - no more than the file's limit is read, so a runaway file cannot fill
//     the memory or hold the start for half a minute.
// Each refusal is told apart, so that the screens can say why.

#include <QByteArray>
#include <QString>

namespace kel {

// The most bytes each stored file may hold: the same limit applies when it
// is read, backed up and restored, so a backup never holds what the program
// would then refuse to read.
inline constexpr qint64 kMaxListFileBytes = qint64(16) << 20;    // Talk.txt, day.txt
inline constexpr qint64 kMaxSettingsFileBytes = qint64(1) << 20; // Talk.ini

// The limit for a stored file by its name ("Talk.ini" -> 1 MB, else 16 MB).
qint64 storedFileLimit(const QString &path);

struct StoredRead {
    enum Status {
        Missing,    // nothing at that name
        Read,       // `bytes` holds the whole file
        NotRegular, // a link, FIFO, device or folder: not read, never written through
        TooLarge,   // over the limit: not read
        Unreadable, // a regular file the system would not let us read
    };
    Status status = Missing;
    QByteArray bytes;
    QString reason; // the system's words, for the log, when Missing or Unreadable
};

// A final link is followed only when asked: a backup the user picked may
// be one, a stored file may not.
enum class FinalLink { NotFollowed, Followed };
StoredRead readStoredFile(const QString &path, qint64 maxBytes, FinalLink link = FinalLink::NotFollowed);

// What readStoredFile would find at `path`, without reading it (Read: it
// would be read).
StoredRead::Status lookAtStoredFile(const QString &path, qint64 maxBytes);

// True when `path` is missing or a regular file (a final link not followed).
bool isPlainFileOrMissing(const QString &path);

// The notice for a file that was not read, naming it by its file name:
//   NotRegular, "Talk.txt" -> "Talk.txt がふつうのファイルではないため、読まずにそのままにしてあります。"
QString notReadNotice(const QString &fileName, StoredRead::Status status);

} // namespace kel

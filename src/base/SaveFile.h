#pragma once
// The one way this program writes a file. Every store (Talk.txt, day.txt,
// Talk.ini, and any file added later) goes through saveFileAtomically, so
// that a full disk, a vanished folder or a failing rename never leaves a
// half-written or empty file where the user's words were:
//
//   1. the bytes go to a temporary file beside the target;
//   2. every write and the final flush are checked (a buffered write "works"
//      until the flush finds the disk full);
//   3. only then is the temporary renamed over the target;
//   4. on any failure the temporary is removed and the old file is untouched.
//
// The caller shows its own failure notice when an error comes back. The
// user's own files are stored through saveCheckingOutside
// (base/OutsideChange.h), which first looks for another program's change.

#include <QByteArray>
#include <QString>
#include <optional>

namespace kel {

struct SaveError {
    QString reason; // the system's words, for a log
};

std::optional<SaveError> saveFileAtomically(const QString &path, const QByteArray &bytes);

// Test seam: makes the next saves fail at a chosen point, as a full disk or
// a failing rename would. Stays in force until reset to None.
enum class SaveFault {
    None,
    Write,        // writing the temporary fails (a full disk)
    BeforeRename, // the temporary is complete and flushed, QSaveFile::commit() fails
};
void setSaveFaultForTesting(SaveFault fault);

} // namespace kel

#pragma once
// Saving a file another program may have changed since this one read it: a
// caregiver's editor, a sync tool, a second copy of the program. Before a
// save the file on disk is compared with the copy last read or written
// here ("seen"):
//   - unchanged: ours is written;
//   - the other program only added or removed whole lines: those additions
//     and removals are applied to ours, and the result is written;
//   - anything else (a line changed, the whole file re-encoded, emptied,
//     cut by more than half, or no longer text): the other program's file
//     is kept beside under a name that says so, and ours is written;
//   - no regular file at the name (a link, a FIFO, a device) or one over
//     its limit: it is left alone and ours is written beside it.
// Nothing is ever overwritten without the caller being told which it was.

#include "base/SaveFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace kel {

// A file as this program last read or wrote it.
struct SeenFile {
    bool exists = false;
    QByteArray bytes;
};
SeenFile readSeenFile(const QString &path);

// Theirs' change from `base` applied to `ours`, line by line (CR LF and LF
// alike; the result takes ours' line ends); nothing when theirs did more
// than add or remove whole lines. Lines are written a..z here:
//   base [a b c], theirs [a x b c], ours [a b c y] -> [a x b c y]
//   base [a b c], theirs [a c],     ours [c a b]   -> [c a]
//   base [a b],   theirs [a b x],   ours [a b y]   -> [a b y x] (added at the end: at ours' end)
//   base [a b],   theirs [a b x],   ours [a b x]   -> [a b x]   (added by both: once)
//   base [a b c], theirs [a B c]                    -> nothing   (b changed)
std::optional<QByteArray> mergeOutsideChange(const QByteArray &base, const QByteArray &theirs,
                                             const QByteArray &ours);

struct OutsideChange {
    enum Kind {
        None,     // the file was as last seen
        Merged,   // another program's added or removed lines were kept
        KeptBoth, // another program's version now lies at `keptCopy`
        SavedBeside, // the file was left alone; ours lies at `keptCopy`
    };
    Kind kind = None;
    QString keptCopy;
};

// Where the other program's version of `path` is kept:
//   "/d/Talk.txt", 2026-12-07 10:12:00 -> "/d/Talk（ほかのプログラムの変更 2026-12-07 101200）.txt"
QString keptCopyPath(const QString &path, const QDateTime &when);
// Where ours goes when the name holds no regular file:
//   "/d/Talk.txt" -> "/d/Talk（このプログラムの保存）.txt"
QString savedBesidePath(const QString &path);

// Writes `ours` over `path` atomically after the check above; `seen` then
// holds what the file holds. On an error nothing was written and `seen` is
// unchanged.
std::optional<SaveError> saveCheckingOutside(const QString &path, SeenFile &seen, const QByteArray &ours,
                                             OutsideChange *outside = nullptr);

// The notice that tells the user what happened, naming the file (for
// example "Talk.txt"); empty for OutsideChange::None.
QString outsideChangeNotice(const QString &fileName, const OutsideChange &change);

} // namespace kel

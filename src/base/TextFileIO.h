#pragma once
// Reading and storing a text file that fills one of the lists (Talk.txt,
// day.txt), with the rules both lists share: a file the program cannot read
// correctly is shown as far as it goes but never written over, and a store
// either replaces the whole file or leaves the old one as it was. The
// screens turn the reasons given here into their own notices.

#include "base/AnsiText.h"
#include "base/OutsideChange.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

struct ListFileText {
    enum Status {
        Missing,    // no file yet: an empty list; storing creates it
        Read,       // code page 932, or UTF-8 with or without a byte-order mark
        Unreadable, // something is there that cannot be read: shown empty
        Invalid,    // neither encoding: shown as far as code page 932 decodes it
        NotRegular, // a link, FIFO or device: never read, shown empty; stores go beside it
        TooLarge,   // over its limit: never read, shown empty, never overwritten
    };
    Status status = Missing;
    QString text;
    // The bytes as read (or as last stored): what a store compares the
    // file on disk with, to find another program's change.
    SeenFile seen;

    // False when storing would destroy what the user has in the file.
    bool mayOverwrite() const { return status == Missing || status == Read || status == NotRegular; }
};

ListFileText readListFile(const QString &path);

// Why a store did not happen; nothing was written then.
struct StoreProblem {
    enum Kind {
        FileProtected, // the file was Unreadable or Invalid when it was read
        Unencodable,   // code page 932 has no code for `character`
        WriteFailed,   // the disk refused: the previous file is still whole
    };
    Kind kind = WriteFailed;
    QString character; // for Unencodable
    QString reason;    // for WriteFailed, the system's words (for a log)
};

// The notice a screen shows for each kind of problem; the one for a
// character that code page 932 cannot hold is the same for every file.
struct StoreNotices {
    QString fileProtected;
    QString writeFailed; // then why, in Japanese, and what to do
};
QString noticeFor(const StoreProblem &problem, const StoreNotices &notices);

// A line read from a file may hold a character code page 932 cannot hold
// that the user never typed (the file came from elsewhere). The index of the
// first such line among `lines`, skipping the one at `typed` (-1: none was
// typed), or -1; and the question that offers to write "？" in its place.
qsizetype firstUnencodableStoredLine(const QStringList &lines, qsizetype typed);
QString askReplaceUnencodable(const QString &line);

// Writes `file` over `path` atomically, unless the file as last read must
// not be overwritten or `file` could not be encoded. A change another
// program made since `asRead` is merged or kept beside (saveCheckingOutside)
// and reported in `outside`; once stored, `asRead` is what the file holds.
std::optional<StoreProblem> storeListFile(const QString &path, ListFileText &asRead, const EncodedFile &file,
                                          OutsideChange *outside = nullptr);

} // namespace kel

#pragma once
// The gzip-compressed tar files of the backups (libarchive), and the two
// ends they meet the file system at:
//
//  - an archive is read only from a regular file no larger than the
//    caller's limit: a device (/dev/zero), a FIFO or a folder is refused
//    before a byte is read, so nothing grows without bound or waits for ever;
//  - a backup is written only to a regular file or a new path: a device, a
//    FIFO, a folder, or a link to one of them is refused, so "/dev/null" is
//    never replaced; a link to a regular file writes that file.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace kel {

using ArchiveEntries = QList<std::pair<QByteArray, QByteArray>>; // name, bytes, in order
using ArchiveFiles = QHash<QByteArray, QByteArray>;              // name -> bytes

// Each backup's first entry: its kind on the first line, then a line per file.
inline constexpr char kManifestName[] = "manifest.txt";

QByteArray sha256Hex(const QByteArray &bytes);

// Every refusal here: nullopt, with `why` in `error`.
inline std::nullopt_t refuse(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

inline QString megabytes(qint64 bytes) { return QString::number(bytes >> 20); }

// The archive's bytes; nullopt with libarchive's reason in `error`. (Both
// this and readTarGz are in TarGz.cpp, with libarchive.)
std::optional<QByteArray> tarGz(const ArchiveEntries &entries, QString *error);

// Every entry of a gzip tar in memory. Refused (nullopt, the
// reason in `error`, archive text shown with printable()) when it is not
// one, is cut off, holds anything but regular files (a link, hard or
// symbolic, or a device), a name twice, a name
// `allowed` refuses, more than `maxEntries`, or more than `maxBytes` once
// unpacked; or an entry whose header gives it more than `entryLimit` of its
// name, before anything is unpacked.
std::optional<ArchiveFiles> readTarGz(const QByteArray &bytes, const std::function<bool(const QByteArray &)> &allowed,
                                      int maxEntries, qint64 maxBytes, QString *error,
                                      const std::function<qint64(const QByteArray &)> &entryLimit = {});

// The lines of the manifest after its first, which must be `magic`;
// nullopt when there is no such manifest.
std::optional<QList<QByteArray>> manifestLines(const ArchiveFiles &files, const QByteArray &magic);

// The bytes of the regular file `path`, when it is at most `maxBytes`.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, QString *error);

// Where a backup asked for at `path` is written: `path` itself when new or
// a regular file, the file a link leads to when that is a regular one;
// nullopt with the reason otherwise.
std::optional<QString> backupTarget(const QString &path, QString *error);

} // namespace kel

#include "voice/ArchiveFile.h"

#include "base/StoredFile.h"
#include "speech/WavName.h"

#include <QCryptographicHash>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>


namespace kel {

QByteArray sha256Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

std::optional<QList<QByteArray>> manifestLines(const ArchiveFiles &files, const QByteArray &magic)
{
    QList<QByteArray> lines = files.value(kManifestName).split('\n');
    if (lines.first() != magic)
        return std::nullopt;
    lines.removeFirst();
    lines.removeAll(QByteArray());
    return lines;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, QString *error)
{
    StoredRead read = readStoredFile(path, maxBytes, FinalLink::Followed);
    switch (read.status) {
    case StoredRead::Read:
        return std::move(read.bytes);
    case StoredRead::NotRegular:
        return refuse(error, QStringLiteral("「%1」は普通のファイルではありません").arg(printable(path)));
    case StoredRead::TooLarge:
        return refuse(error, QStringLiteral("「%1」は %2 MB より大きいファイルです").arg(printable(path), megabytes(maxBytes)));
    case StoredRead::Missing:
    case StoredRead::Unreadable:
        break;
    }
    return refuse(error, QStringLiteral("「%1」を開けません（%2）").arg(printable(path), read.reason));
}

std::optional<QString> backupTarget(const QString &path, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return errno == ENOENT ? std::optional<QString>(path) : refuse(error, QString::fromLocal8Bit(strerror(errno)));
    if (S_ISREG(st.st_mode))
        return path;
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
        char *real = ::realpath(name.constData(), nullptr);
        if (real) {
            const QString target = QFile::decodeName(real);
            ::free(real);
            return target;
        }
    }
    return refuse(error, QStringLiteral("「%1」は普通のファイルではありません（装置、FIFO、フォルダ、またはそれへのリンク）")
                           .arg(printable(path)));
}

} // namespace kel

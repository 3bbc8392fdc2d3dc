#include "base/StoredFile.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kel {

qint64 storedFileLimit(const QString &path)
{
    return QFileInfo(path).fileName() == QLatin1String("Talk.ini") ? kMaxSettingsFileBytes : kMaxListFileBytes;
}

namespace {

// Opens `path` when it is a regular file within `maxBytes` (the fd, its
// size in `size`); otherwise -1 and why in `out`. Reading and merely
// looking decide alike, so that what the start tells the user is what
// the reading then does.
int openWithin(const QString &path, qint64 maxBytes, FinalLink link, StoredRead &out, qint64 &size)
{
    // O_NONBLOCK: opening a FIFO for reading must not wait for a writer.
    const int noFollow = link == FinalLink::NotFollowed ? O_NOFOLLOW : 0;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | noFollow | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            out = {StoredRead::Missing, {}, QString::fromLocal8Bit(std::strerror(errno))};
        else if (errno == ELOOP && noFollow)
            out = {StoredRead::NotRegular, {}, {}};
        else
            out = {StoredRead::Unreadable, {}, QString::fromLocal8Bit(std::strerror(errno))};
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        out = {StoredRead::Unreadable, {}, QString::fromLocal8Bit(std::strerror(errno))};
    else if (!S_ISREG(st.st_mode))
        out = {StoredRead::NotRegular, {}, {}};
    else if (st.st_size > maxBytes)
        out = {StoredRead::TooLarge, {}, {}};
    else {
        size = st.st_size;
        return fd;
    }
    ::close(fd);
    return -1;
}

} // namespace

StoredRead::Status lookAtStoredFile(const QString &path, qint64 maxBytes)
{
    StoredRead out;
    qint64 size = 0;
    const int fd = openWithin(path, maxBytes, FinalLink::NotFollowed, out, size);
    if (fd < 0)
        return out.status;
    ::close(fd);
    return StoredRead::Read;
}

StoredRead readStoredFile(const QString &path, qint64 maxBytes, FinalLink link)
{
    StoredRead out;
    qint64 size = 0;
    const int fd = openWithin(path, maxBytes, link, out, size);
    if (fd < 0)
        return out;
    // Read up to one byte past the limit: a file still growing is
    // caught as well as one that was large when looked at.
    out.status = StoredRead::Read;
    out.bytes.resize(qsizetype(size) + 1);
    qsizetype done = 0;
    for (;;) {
        if (done == out.bytes.size()) {
            if (done > maxBytes)
                break;
            out.bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, done * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, out.bytes.data() + done, size_t(out.bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out = {StoredRead::Unreadable, {}, QString::fromLocal8Bit(std::strerror(errno))};
            break;
        }
        if (n == 0)
            break;
        done += n;
    }
    if (out.status == StoredRead::Read) {
        out.bytes.truncate(done);
        if (done > maxBytes)
            out = {StoredRead::TooLarge, {}, {}};
    }
    ::close(fd);
    return out;
}

bool isPlainFileOrMissing(const QString &path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

QString notReadNotice(const QString &fileName, StoredRead::Status status)
{
    switch (status) {
    case StoredRead::NotRegular:
        return QStringLiteral("%1 がふつうのファイルではないため、読まずにそのままにしてあります。").arg(fileName);
    case StoredRead::TooLarge:
        return QStringLiteral("%1 が %2 MB を超えているため、読まずにそのままにしてあります。")
            .arg(fileName)
            .arg(storedFileLimit(fileName) >> 20);
    case StoredRead::Unreadable:
        return QStringLiteral("%1 を読めないため、そのままにしてあります。").arg(fileName);
    case StoredRead::Missing:
    case StoredRead::Read:
        break;
    }
    return {};
}

} // namespace kel

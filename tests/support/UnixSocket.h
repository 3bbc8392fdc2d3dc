#pragma once
// A bare connection to a Unix socket file, for tests and benchmarks that
// play another program at the knock socket: -1 when it cannot connect.

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kel::test {

inline int connectTo(const QString &path)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(a.sun_path, name.constData(), size_t(std::min<qsizetype>(name.size(), sizeof a.sun_path - 1)));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace kel::test

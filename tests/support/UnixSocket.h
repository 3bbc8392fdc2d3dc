#pragma once
// A bare Unix socket, for tests and benchmarks that play another program at
// the knock socket.

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kel::test {

// Connects to the socket file at `path` (connect), or binds the socket `fd`
// there, listening when asked (bind); false when it cannot.
enum class SocketUse { Connect, Bind, Listen };
inline bool reach(int fd, const QString &path, SocketUse use)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(a.sun_path, name.constData(), size_t(std::min<qsizetype>(name.size(), sizeof a.sun_path - 1)));
    const auto *address = reinterpret_cast<const sockaddr *>(&a);
    if (use == SocketUse::Connect)
        return ::connect(fd, address, sizeof a) == 0;
    return ::bind(fd, address, sizeof a) == 0 && (use == SocketUse::Bind || ::listen(fd, 4) == 0);
}

// A new socket connected to `path`, or -1 when it cannot connect.
inline int connectTo(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (!reach(fd, path, SocketUse::Connect)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace kel::test

// The knock socket under whatever connections and lines reach it: each
// input is a script of connections, each opened, fed some bytes, then left
// open, half-closed or closed. Afterwards the listener must still answer a
// real knock, must never have held more than its few connections, and the
// process must not be left holding their descriptors.
#include "base/KnockSocket.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

QString socketPath()
{
    static const QString path = [] {
        char folder[] = "/tmp/fuzz-knock-XXXXXX";
        if (!::mkdtemp(folder))
            std::abort();
        return QString::fromLocal8Bit(folder) + QStringLiteral("/knock.socket");
    }();
    return path;
}

int connectTo(const QString &path)
{
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(a.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static std::atomic<int> raises = 0;
    static kel::KnockListener listener([] { ++raises; }, [](std::function<void()> work) { work(); });
    static const int before = [] {
        if (!listener.listen(socketPath()))
            std::abort();
        return openDescriptors();
    }();

    // Each step: a byte saying what to do (low bits) and how many bytes to
    // send (high bits), then those bytes.
    std::vector<int> open;
    size_t at = 0;
    while (at < size && open.size() < 16) {
        const uint8_t step = data[at++];
        const size_t length = std::min<size_t>(step >> 2, size - at);
        const int fd = connectTo(socketPath());
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t n = ::send(fd, data + at, length, MSG_NOSIGNAL | MSG_DONTWAIT);
            switch (step & 3) {
            case 0: open.push_back(fd); break;              // left open, silent
            case 1: ::shutdown(fd, SHUT_WR); open.push_back(fd); break;
            default: ::close(fd); break;                    // gone at once
            }
        }
        at += length;
    }
    if (kel::knockOn(socketPath(), 10'000) != kel::Knock::Answered)
        std::abort();
    if (listener.mostConnectionsHeld() > kel::kMaxConnections)
        std::abort();
    for (int fd : open)
        ::close(fd);
    // The listener holds at most its few connections (closed at their
    // deadline or their end), never a descriptor per connection made; one
    // it is accepting or closing this moment is let pass.
    for (int wait = 0; openDescriptors() > before + kel::kMaxConnections; ++wait) {
        if (wait == 200)
            std::abort();
        ::usleep(10'000);
    }
    return 0;
}

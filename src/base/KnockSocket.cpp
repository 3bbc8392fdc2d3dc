#include "base/KnockSocket.h"

#include <QCoreApplication>
#include <QFile>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kel {
namespace {

using Clock = std::chrono::steady_clock;

const QByteArray kRaise("raise");
const QByteArray kRaised("raised\n");

long long nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

QString systemWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Where a socket file is: its folder (held open) and its name there, and
// the address that reaches it. A path longer than an address can hold is
// reached through the folder's descriptor.
struct SocketPlace {
    int folder = -1;
    QByteArray name;
    sockaddr_un address{};
    socklen_t length = 0;

    explicit SocketPlace(const QString &path)
    {
        const QByteArray full = QFile::encodeName(path);
        const qsizetype slash = full.lastIndexOf('/');
        name = full.mid(slash + 1);
        const QByteArray dir = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : full.left(slash);
        folder = ::open(dir.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        QByteArray where = full;
        if (where.size() >= qsizetype(sizeof(address.sun_path)))
            where = "/proc/self/fd/" + QByteArray::number(folder) + '/' + name;
        if (folder < 0 || name.isEmpty() || where.size() >= qsizetype(sizeof(address.sun_path)))
            return;
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, where.constData(), size_t(where.size()));
        length = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(where.size()) + 1);
    }
    ~SocketPlace()
    {
        if (folder >= 0)
            ::close(folder);
    }
    SocketPlace(const SocketPlace &) = delete;
    SocketPlace &operator=(const SocketPlace &) = delete;

    bool usable() const { return length > 0; }
    const sockaddr *addr() const { return reinterpret_cast<const sockaddr *>(&address); }
};

// The user id of the process at the other end of `fd`.
bool peerIsThisUser(int fd)
{
    ucred cred{};
    socklen_t size = sizeof cred;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 && cred.uid == ::geteuid();
}

struct Connection {
    int fd = -1;
    bool waiting = false; // its line was a knock; it waits for the raise
    Clock::time_point deadline;
    QByteArray got;
};

} // namespace

struct KnockListener::Shared {
    std::function<void()> raise;
    Post post;
    std::unique_ptr<SocketPlace> place;
    dev_t device = 0;
    ino_t inode = 0;
    int listenFd = -1;
    int wake[2] = {-1, -1};
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::atomic<bool> raisePending{false};
    std::atomic<long long> raisedAt{LLONG_MIN / 2};
    std::atomic<int> most{0};

    ~Shared()
    {
        for (int fd : wake)
            if (fd >= 0)
                ::close(fd);
    }

    void serve(const std::shared_ptr<Shared> &self);
    void accept(std::vector<Connection> &connections);
    // False when the connection is done with (closed by the caller).
    bool read(Connection &c, const std::shared_ptr<Shared> &self);
    void askToRaise(const std::shared_ptr<Shared> &self);
};

namespace {

void closeConnection(Connection &c)
{
    if (c.fd >= 0)
        ::close(c.fd);
    c.fd = -1;
}

void answer(Connection &c)
{
    [[maybe_unused]] const ssize_t n = ::send(c.fd, kRaised.constData(), size_t(kRaised.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
    closeConnection(c);
}

} // namespace

void KnockListener::Shared::askToRaise(const std::shared_ptr<Shared> &self)
{
    if (raisePending.exchange(true))
        return;
    post([self] {
        if (!self->stopping)
            self->raise();
        self->raisedAt = nowMs();
        self->raisePending = false;
        [[maybe_unused]] const ssize_t n = ::write(self->wake[1], "r", 1);
    });
}

bool KnockListener::Shared::read(Connection &c, const std::shared_ptr<Shared> &self)
{
    char buffer[kMaxLine + 1];
    const ssize_t n = ::recv(c.fd, buffer, c.waiting ? 1 : size_t(kMaxLine - c.got.size()), MSG_DONTWAIT);
    if (n < 0)
        return errno == EAGAIN || errno == EINTR;
    // An end, or anything after the knock: done with.
    if (n == 0 || c.waiting)
        return false;
    c.got.append(buffer, n);
    const qsizetype end = c.got.indexOf('\n');
    if (end < 0)
        return c.got.size() < kMaxLine;
    if (c.got.left(end) != kRaise || end + 1 != c.got.size())
        return false;
    c.waiting = true;
    c.deadline = Clock::now() + std::chrono::milliseconds(kAnswerDeadlineMs);
    if (nowMs() - raisedAt < kRaiseGapMs) {
        answer(c); // raised a moment ago: not again
        return false;
    }
    askToRaise(self);
    return true;
}

void KnockListener::Shared::accept(std::vector<Connection> &connections)
{
    // A few at a time, so that those already held are read in between.
    for (int i = 0; i < 4 * kMaxConnections; ++i) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        if (!peerIsThisUser(fd)) {
            ::close(fd);
            continue;
        }
        if (int(connections.size()) >= kMaxConnections) {
            // The oldest one that has not knocked gives way; when every one
            // has, the newcomer is closed (it knocks again).
            auto idle = std::find_if(connections.begin(), connections.end(), [](const Connection &c) { return !c.waiting; });
            if (idle == connections.end()) {
                ::close(fd);
                continue;
            }
            ::close(idle->fd);
            connections.erase(idle);
        }
        connections.push_back({fd, false, Clock::now() + std::chrono::milliseconds(kLineDeadlineMs), {}});
        most = std::max(most.load(), int(connections.size()));
    }
}

void KnockListener::Shared::serve(const std::shared_ptr<Shared> &self)
{
    std::vector<Connection> connections;
    std::vector<pollfd> polled;
    while (!stopping) {
        polled.assign({{wake[0], POLLIN, 0}, {listenFd, POLLIN, 0}});
        int timeout = -1;
        const auto now = Clock::now();
        for (const Connection &c : connections) {
            polled.push_back({c.fd, POLLIN, 0});
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(c.deadline - now).count();
            timeout = timeout < 0 ? int(std::max<long long>(0, left)) : std::min(timeout, int(std::max<long long>(0, left)));
        }
        if (::poll(polled.data(), polled.size(), timeout) < 0 && errno != EINTR)
            break;
        bool raised = false;
        if (polled[0].revents) {
            char bytes[16];
            for (ssize_t n; (n = ::read(wake[0], bytes, sizeof bytes)) > 0;)
                raised = raised || std::memchr(bytes, 'r', size_t(n));
        }
        if (stopping)
            break;
        const auto later = Clock::now();
        for (size_t i = 0; i < connections.size(); ++i) {
            Connection &c = connections[i];
            if (c.waiting && raised)
                answer(c);
            else if ((polled[i + 2].revents && !read(c, self)) || (c.fd >= 0 && later >= c.deadline))
                closeConnection(c);
        }
        std::erase_if(connections, [](const Connection &c) { return c.fd < 0; });
        if (polled[1].revents)
            accept(connections);
    }
    for (Connection &c : connections)
        closeConnection(c);
}

KnockListener::KnockListener(std::function<void()> raise, Post post) : shared_(std::make_shared<Shared>())
{
    shared_->raise = std::move(raise);
    shared_->post = post ? std::move(post) : Post([](std::function<void()> work) {
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
    });
}

KnockListener::~KnockListener()
{
    close();
}

bool KnockListener::listening() const
{
    return shared_->thread.joinable();
}

int KnockListener::mostConnectionsHeld() const
{
    return shared_->most;
}

bool KnockListener::listen(const QString &path, QString *why)
{
    close();
    Shared &s = *shared_;
    auto fail = [&](int error) {
        if (why)
            *why = QStringLiteral("%1: %2").arg(path, systemWords(error));
        if (s.listenFd >= 0)
            ::close(s.listenFd);
        s.listenFd = -1;
        s.place.reset();
        return false;
    };
    s.place = std::make_unique<SocketPlace>(path);
    const SocketPlace &place = *s.place;
    if (!place.usable())
        return fail(place.folder < 0 ? errno : ENAMETOOLONG);
    // The caller holds the lock: a socket there is a killed copy's. Anything
    // else is not ours to remove.
    struct stat st {};
    if (::fstatat(place.folder, place.name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return fail(EEXIST);
        if (::unlinkat(place.folder, place.name.constData(), 0) != 0)
            return fail(errno);
    }
    s.listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s.listenFd < 0 || ::bind(s.listenFd, place.addr(), place.length) != 0)
        return fail(errno);
    // The user's alone before anyone may connect (connecting needs write
    // permission; each connection's credentials are checked as well).
    if (::fchmodat(place.folder, place.name.constData(), 0600, 0) != 0
        || ::fstatat(place.folder, place.name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0
        || ::listen(s.listenFd, 16) != 0 || (s.wake[0] < 0 && ::pipe2(s.wake, O_NONBLOCK | O_CLOEXEC) != 0)) {
        const int error = errno;
        ::unlinkat(place.folder, place.name.constData(), 0);
        return fail(error);
    }
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.stopping = false;
    s.thread = std::thread([self = shared_] { self->serve(self); });
    return true;
}

void KnockListener::close()
{
    Shared &s = *shared_;
    if (!s.thread.joinable())
        return;
    s.stopping = true;
    [[maybe_unused]] const ssize_t n = ::write(s.wake[1], "q", 1);
    s.thread.join();
    ::close(s.listenFd);
    s.listenFd = -1;
    // Removed only while it is the file this listener made.
    struct stat st {};
    if (::fstatat(s.place->folder, s.place->name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_dev == s.device
        && st.st_ino == s.inode)
        ::unlinkat(s.place->folder, s.place->name.constData(), 0);
    s.place.reset();
    // The wake pipe stays open while a raise queued to the window's thread
    // may still write to it: it goes with the last reference.
}

Knock knockOn(const QString &path, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const SocketPlace place(path);
    auto left = [&] { return int(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count()); };
    while (place.usable()) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return Knock::Unreachable;
        if (::connect(fd, place.addr(), place.length) == 0) {
            // Another user's socket is not this program's to believe.
            if (!peerIsThisUser(fd)) {
                ::close(fd);
                return Knock::Unreachable;
            }
            QByteArray got;
            bool ended = ::send(fd, "raise\n", 6, MSG_NOSIGNAL) != 6;
            while (!ended && !got.contains('\n') && got.size() < kMaxLine) {
                pollfd p{fd, POLLIN, 0};
                const int ready = ::poll(&p, 1, std::max(0, left()));
                if (ready == 0) {
                    ::close(fd);
                    return Knock::NoAnswer; // it took the knock and said nothing
                }
                char buffer[kMaxLine];
                const ssize_t n = ready < 0 ? -1 : ::recv(fd, buffer, size_t(kMaxLine - got.size()), 0);
                if (n > 0)
                    got.append(buffer, n);
                else if (n == 0 || (errno != EINTR && errno != EAGAIN))
                    ended = true;
            }
            ::close(fd);
            if (got == kRaised)
                return Knock::Answered;
            // Closed without an answer: busy, or not a knock socket. Again.
        } else {
            ::close(fd);
        }
        if (left() <= 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(50, left())));
    }
    return Knock::Unreachable;
}

} // namespace kel

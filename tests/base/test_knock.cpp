// The knock socket as another program meets it: a knock of the user's own
// raises the window once; whatever else arrives (another user, long or
// wrong lines, silence, a flood) raises nothing, holds no more than a few
// connections and leaves the socket answering; a start never believes
// another user's socket, and takes a killed copy's for unreachable, never
// for hung.
#include "support/TestMain.h"
#include "base/KnockSocket.h"
#include "support/UnixSocket.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kel;
using namespace kel::test;

namespace {

constexpr uid_t kNobody = 65534;

// Sends `bytes` (as much as the listener takes before it cuts the
// connection), then what comes back until the listener closes.
QByteArray exchange(int fd, const QByteArray &bytes, qint64 *taken = nullptr)
{
    qint64 sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += n;
    }
    if (taken)
        *taken = sent;
    QByteArray back;
    char buffer[256];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        back.append(buffer, n);
    ::close(fd);
    return back;
}

// Runs `body` in a child process as the user "nobody"; its exit code.
int asNobody(const std::function<int()> &body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 ? body() : 99);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

} // namespace

class TestKnock : public QObject {
    Q_OBJECT
private slots:
    // What arrives at a listening socket, after `idle` connections that
    // say nothing, what the peer gets back, and how often the window is
    // raised; the idle ones hold no more than a few descriptors.
    void listener_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("raises");
        QTest::addColumn<int>("idle");
        QTest::newRow("a knock through a flood of idle connections") << QByteArray("raise\n") << QByteArray("raised\n") << 1 << 200;
        QTest::newRow("another line") << QByteArray("quit\n") << QByteArray() << 0 << 0;
        QTest::newRow("a knock with more after it") << QByteArray("raise\nraise\n") << QByteArray() << 0 << 0;
        QTest::newRow("a knock without its line end, then silence") << QByteArray("raise") << QByteArray() << 0 << 0;
        QTest::newRow("nothing at all, until the deadline") << QByteArray() << QByteArray() << 0 << 0;
        QTest::newRow("64 bytes without a line end") << QByteArray(64, 'r') << QByteArray() << 0 << 0;
        // The listener reads no more than a line: the rest is never taken in.
        QTest::newRow("16 MB without a line end") << QByteArray(16 << 20, 'r') << QByteArray() << 0 << 0;
    }

    void listener()
    {
        QFETCH(QByteArray, sent);
        QFETCH(int, idle);
        std::atomic<int> raises = 0;
        KnockListener listener([&] { ++raises; }, [](std::function<void()> work) { work(); });
        QVERIFY(listener.listen(socket()));
        const int before = openDescriptors();
        std::vector<int> silent;
        for (int i = 0; i < idle; ++i)
            if (const int fd = connectTo(socket()); fd >= 0)
                silent.push_back(fd);
        qint64 taken = 0;
        QTEST(exchange(connectTo(socket()), sent, &taken), "answer");
        QVERIFY2(taken < 4 << 20, qPrintable(QString::number(taken)));
        QTEST(int(raises), "raises");
        QVERIFY(listener.mostConnectionsHeld() <= kMaxConnections);
        for (int fd : silent)
            ::close(fd);
        QVERIFY(openDescriptors() <= before + kMaxConnections);
        // And the next knock is answered as ever.
        QCOMPARE(knockOn(socket(), 10'000), Knock::Answered);
        listener.close();
        QVERIFY(!QFileInfo::exists(socket()));
    }

    // Another user is neither answered (even through a socket file opened
    // to everyone) nor believed (a socket of theirs under the name).
    void anotherUser()
    {
        if (::geteuid() != 0)
            QFAIL("cannot act as another user here: that needs root (run the tests as root or in a container)");
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
        std::atomic<int> raises = 0;
        KnockListener listener([&] { ++raises; }, [](std::function<void()> work) { work(); });
        QVERIFY(listener.listen(socket()));
        // Not even connected: the file is the user's alone.
        QCOMPARE(asNobody([&] { return connectTo(socket()) < 0 ? 0 : 1; }), 0);
        QVERIFY(QFile::setPermissions(socket(), QFileDevice::Permissions(0x6666)));
        QCOMPARE(asNobody([&] {
                     const int fd = connectTo(socket());
                     return fd < 0 ? 2 : exchange(fd, "raise\n").isEmpty() ? 0 : 1;
                 }),
                 0);
        QCOMPARE(int(raises), 0);
        listener.close();

        // Another user's socket under the name: bound and listening as that
        // user (so a knock meets their credentials), held open here.
        const QString impostor = dir.filePath("impostor.socket");
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const auto closed = qScopeGuard([fd] { ::close(fd); });
        QCOMPARE(asNobody([&] { return reach(fd, impostor, SocketUse::Listen) ? 0 : 1; }), 0);
        QCOMPARE(knockOn(impostor, 10'000), Knock::Unreachable);
    }

    // A killed copy's socket (the file, nothing listening) is unreachable,
    // not hung, and the next copy holding the lock listens in its place; a
    // path longer than a socket address is listened and knocked on all the
    // same. (Nothing there, something not a socket in the way, and a copy
    // that takes the knock and never answers: as a second start meets them,
    // in test_singleinstance.)
    void leftoverAndLongPath()
    {
        const QTemporaryDir place;
        const QString leftover = place.filePath(QStringLiteral("knock.socket"));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(reach(fd, leftover, SocketUse::Bind));
        ::close(fd);
        QCOMPARE(knockOn(leftover, 10'000), Knock::Unreachable);
        const QString longPath = place.filePath(QString(100, u'x') + "/" + QString(100, u'y') + "/knock.socket");
        QVERIFY(QDir().mkpath(QFileInfo(longPath).path()));
        for (const QString &path : {leftover, longPath}) {
            KnockListener listener([] {}, [](std::function<void()> work) { work(); });
            QVERIFY(listener.listen(path));
            QCOMPARE(knockOn(path, 10'000), Knock::Answered);
        }
    }

private:
    QString socket() const { return dir.filePath(QStringLiteral("knock.socket")); }
    QTemporaryDir dir;
};

KEL_TEST(test_knock, TestKnock)
#include "test_knock.moc"

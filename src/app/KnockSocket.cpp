// The local socket a second start knocks on, with Qt Network, made through
// the late module.
#include "app/KnockSocket.h"

#include "base/LateModule.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace kel {
namespace {

const QByteArray kRaise("raise\n");
const QByteArray kRaised("raised\n");

class QtKnockListener final : public QObject, public KnockListener {
public:
    explicit QtKnockListener(std::function<void()> raise);
    bool listen(const QString &socketPath, bool abstract) override;
    void close() override;

private:
    void answer();
    QLocalServer *server_;
    std::function<void()> raise_;
};

QtKnockListener::QtKnockListener(std::function<void()> raise)
    : server_(new QLocalServer(this)), raise_(std::move(raise))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &QtKnockListener::answer);
}

void QtKnockListener::close()
{
    server_->close();
}

bool QtKnockListener::listen(const QString &socketPath, bool abstract)
{
    if (abstract) {
        // No file: every user reaches it, and it goes with the process.
        server_->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        return server_->listen(socketPath);
    }
    // We hold the lock, so a socket file there is a killed copy's leftover.
    QLocalServer::removeServer(socketPath);
    return server_->listen(socketPath);
}

void QtKnockListener::answer()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto reply = [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kRaise) {
                if (raise_)
                    raise_();
                socket->write(kRaised);
                socket->flush();
            }
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, reply);
        reply(); // the knock may have arrived with the connection
    }
}

bool knockOnRunningCopy(const QString &socketPath, int timeoutMs, bool abstract)
{
    QElapsedTimer timer;
    timer.start();
    QLocalSocket socket;
    if (abstract)
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    // A copy started a moment ago holds the lock before it listens: knock
    // again until the time is up.
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(int(qMax<qint64>(1, timeoutMs - timer.elapsed()))))
            break;
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(50);
    }
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(int(qMax<qint64>(1, timeoutMs - timer.elapsed()))))
        return false;
    while (!socket.canReadLine()) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0 || !socket.waitForReadyRead(int(left)))
            return false;
    }
    return socket.readLine() == kRaised;
}

KnockListener *makeKnockListener(const std::function<void()> &raise)
{
    return new QtKnockListener(raise);
}

} // namespace
} // namespace kel

KEL_LATE_FUNCTION(make_knock_listener, kel::MakeKnockListener, kel::makeKnockListener);
KEL_LATE_FUNCTION(knock_on_running_copy, kel::KnockOnRunningCopy, kel::knockOnRunningCopy);

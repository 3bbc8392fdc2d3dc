#include "app/RunningCopy.h"

#include "base/SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <csignal>

namespace kel {
namespace {

const QByteArray kRaise("raise\n");
const QByteArray kRaised("raised\n");

} // namespace

RunningCopyServer::RunningCopyServer(std::function<void()> raise, QObject *parent)
    : QObject(parent), server_(new QLocalServer(this)), raise_(std::move(raise))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &RunningCopyServer::answer);
}

RunningCopyServer::~RunningCopyServer() = default;

bool RunningCopyServer::listen(const QString &socketPath)
{
    // We hold the lock, so a socket file there is a killed copy's leftover.
    QLocalServer::removeServer(socketPath);
    return server_->listen(socketPath);
}

void RunningCopyServer::answer()
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

void bringToFront(QWidget *w)
{
    w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    w->show();
    w->raise();
    w->activateWindow();
}

bool askRunningCopyToRaise(const QString &socketPath, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QLocalSocket socket;
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

bool askToEndHungCopy()
{
    QMessageBox box;
    box.setWindowTitle(QStringLiteral("Kelvoran"));
    box.setIcon(QMessageBox::Warning);
    box.setText(QString::fromUtf8(kHungQuestion));
    QFont font = box.font();
    font.setPointSize(20);
    box.setFont(font);
    QPushButton *end = box.addButton(QStringLiteral("終了させる"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("やめる"), QMessageBox::RejectRole);
    box.setDefaultButton(end);
    box.exec();
    return box.clickedButton() == end;
}

bool startAsOnlyCopy(SingleInstance &instance)
{
    if (instance.acquire() != SingleInstance::HeldByAnother)
        return true;
    constexpr int kAnswerMs = 2000;
    if (askRunningCopyToRaise(instance.socketPath(), kAnswerMs))
        return false;
    if (!askToEndHungCopy())
        return false;
    if (endHungCopy(instance.holder()))
        instance.acquire();
    return true; // opens even when the other copy could not be ended
}

bool endHungCopy(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), SIGKILL) != 0)
        return false;
    QElapsedTimer timer;
    timer.start();
    while (::kill(pid_t(pid), 0) == 0 && timer.elapsed() < 2000)
        QThread::msleep(20);
    return ::kill(pid_t(pid), 0) != 0;
}

} // namespace kel

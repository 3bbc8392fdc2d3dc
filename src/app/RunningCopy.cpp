#include "app/RunningCopy.h"

#include "base/ExitGuard.h"
#include "base/KnockSocket.h"
#include "base/SingleInstance.h"
#include "frame/FrmOK.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QWidget>

#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kel {

void bringToFront(QWidget *w)
{
    w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    w->show();
    w->raise();
    w->activateWindow();
}

void endOnSignals()
{
    endOnTerminationSignals(
        [] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget *w : windows)
                w->close();
            // Not quit(): it asks every window again, and the stop panel of
            // a reading refuses, which would cancel the end until the guard.
            QCoreApplication::exit(0);
        },
        std::chrono::milliseconds(1800));
}

bool askToEndHungCopy()
{
    return askBeforeWindow(QString::fromUtf8(kHungQuestion), QStringLiteral("Kelvoran"), QStringLiteral("終了させる"),
                           QStringLiteral("やめる"));
}

namespace {

// One lock: free, or held by a copy that comes to the front, or by a hung
// copy the user may end. True when this start may go on; `ended` is then
// the copy ended here, if any.
bool settle(SingleInstance &lock, SingleInstance::Result result, qint64 &ended)
{
    if (result != SingleInstance::HeldByAnother)
        return true;
    if (lock.heldByCommand()) {
        askBeforeWindow(QString::fromUtf8(kCommandRunning), QStringLiteral("Kelvoran"), QStringLiteral("OK"), QString());
        return false;
    }
    constexpr int kAnswerMs = 2000;
    switch (knockOn(lock.socketPath(), kAnswerMs)) {
    case Knock::Answered:
        return false;
    case Knock::Unreachable:
        askBeforeWindow(QString::fromUtf8(kNotReached), QStringLiteral("Kelvoran"), QStringLiteral("OK"), QString());
        return false;
    case Knock::NoAnswer:
        break;
    }
    if (!askToEndHungCopy())
        return false;
    const qint64 pid = lock.holder();
    if (endHungCopy(pid) && lock.takeOverFrom(pid)) {
        ended = pid;
        return true;
    }
    // Two copies writing the same files would undo each other's sentences.
    askBeforeWindow(QString::fromUtf8(kNotEnded), QStringLiteral("Kelvoran"), QStringLiteral("OK"), QString());
    return false;
}

} // namespace

bool startAsOnlyCopy(SingleInstance &instance, SingleInstance &dataFolder, const QString &dataPath)
{
    qint64 ended = 0;
    if (!settle(instance, instance.acquire(), ended))
        return false;
    if (dataPath.isEmpty())
        return true;
    const SingleInstance::Result data = dataFolder.acquireDataFolder(dataPath);
    // The copy just ended held this lock too: it is not asked about twice.
    if (data == SingleInstance::HeldByAnother && ended && dataFolder.holder() == ended && dataFolder.takeOverFrom(ended))
        return true;
    return settle(dataFolder, data, ended);
}

bool endHungCopy(qint64 pid)
{
    if (pid <= 0)
        return false;
    // Opened before the signal, so that the number cannot pass to another
    // process in between; readable once the process has ended.
    const int fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (::kill(pid_t(pid), SIGKILL) != 0) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    constexpr int kEndMs = 2000;
    if (fd >= 0) {
        pollfd p{fd, POLLIN, 0};
        const bool ended = ::poll(&p, 1, kEndMs) == 1;
        ::close(fd);
        return ended;
    }
    // Without process descriptors: gone, or a zombie its parent has not
    // yet collected.
    auto ended = [pid] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return true;
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        return close < 0 || line.mid(close + 2, 1) == "Z";
    };
    QElapsedTimer timer;
    timer.start();
    while (!ended() && timer.elapsed() < kEndMs)
        QThread::msleep(10);
    return ended();
}

} // namespace kel

#include "base/ExitGuard.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace kel {
namespace {

int g_signalPipe[2] = {-1, -1};
std::atomic<bool> g_endRequested{false};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void endOnTerminationSignals(std::function<void()> askToEnd, std::chrono::milliseconds limit)
{
    if (g_signalPipe[0] >= 0 || ::pipe(g_signalPipe) != 0)
        return;
    // The signal handler may only write a byte; a thread of its own hears it,
    // so the request arrives even while the main thread is busy.
    std::thread([ask = std::move(askToEnd), limit] {
        char byte = 0;
        while (::read(g_signalPipe[0], &byte, 1) < 0 && errno == EINTR) {
        }
        g_endRequested = true;
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, ask, Qt::QueuedConnection);
        std::this_thread::sleep_for(limit);
        ::_exit(0);
    }).detach();

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

bool endRequested()
{
    return g_endRequested;
}

[[noreturn]] void endNow(int code)
{
    std::fflush(nullptr);
    ::_exit(code);
}

void leaveWithin(std::chrono::milliseconds limit, int code)
{
    std::thread([limit, code] {
        std::this_thread::sleep_for(limit);
        ::_exit(code);
    }).detach();
}

} // namespace kel

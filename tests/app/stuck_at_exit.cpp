// A program whose main thread, once asked to end, waits for ever on a thread
// that never finishes: the bounded end must still end it.
#include "base/ExitGuard.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    kel::endOnTerminationSignals([] { QCoreApplication::quit(); }, std::chrono::milliseconds(1800));
    std::puts("up"); // from here on a signal ends it
    std::fflush(stdout);
    const int code = app.exec();
    kel::leaveWithin(std::chrono::milliseconds(1500), code);
    QThread never;
    never.start();
    never.wait(); // as a sound thread stuck inside its library would
    return code;
}

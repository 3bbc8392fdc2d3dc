#pragma once
// A child program for the tests and benchmarks of the end on signals.

#include "support/RealProgram.h"
#include "app/RunningCopy.h"
#include "base/ExitGuard.h"
#include "fakes/RecordingPlayer.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace kel::test {

// Run as "kel_tests_ui --read-until-ended DIR" it is the program reading a
// long text aloud on the real clock, ending on signals as the program does:
// it says "reading" once the reading is under way, and "ended in order"
// when the window's own end came before the guard's, and ends as the
// program does.
inline int readUntilEnded(int argc, char **argv)
{
    QApplication app(argc, argv);
    endOnSignals();
    ProgramWith<RecordingPlayer> program(QString::fromLocal8Bit(argv[2]));
    QTimer::singleShot(0, &program.win, [&] {
        program.win.controls().txtTalk->setText(QStringLiteral("あいうえおかきくけこさしすせそたちつてと"));
        QTimer::singleShot(100, [] { std::puts("reading"); std::fflush(stdout); });
        click(program.win.controls().cmdRead);
    });
    const int code = app.exec();
    std::puts("ended in order");
    // As the program does: nothing left to take apart.
    endNow(code);
}

} // namespace kel::test

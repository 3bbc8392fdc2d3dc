#pragma once
// A child program for the tests and benchmarks of the end on signals.

#include <QTest>

#include "support/Touch.h"
#include "app/FrmTalk.h"
#include "app/RunningCopy.h"
#include "base/Clock.h"
#include "base/ExitGuard.h"
#include "base/SettingsStore.h"
#include "fakes/RecordingPlayer.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

#include <QApplication>
#include <QDate>
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
    SteadyClock clock;
    RecordingPlayer player;
    Platform platform;
    const QString home = QString::fromLocal8Bit(argv[2]);
    SettingsStore store(home + "/Talk.ini");
    FrmTalk win(Services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }});
    win.Form_Load(home);
    win.show();
    QTimer::singleShot(0, &win, [&] {
        win.controls().txtTalk->setText(QStringLiteral("あいうえおかきくけこさしすせそたちつてと"));
        QTimer::singleShot(100, [] { std::puts("reading"); std::fflush(stdout); });
        click(win.controls().cmdRead);
    });
    const int code = app.exec();
    std::puts("ended in order");
    // As the program does: nothing left to take apart.
    endNow(code);
}

} // namespace kel::test

#pragma once
// The main window on the real player, the real clock and the real screen,
// for tests that hear it through the null sink.

#include "support/Touch.h"
#include "app/FrmTalk.h"
#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "speech/QtWavePlayer.h"
#include "widgets/ColorButton.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

#include <QDate>

namespace kel::test {

struct RealProgram {
    SteadyClock clock;
    QtWavePlayer player;
    Platform platform;
    SettingsStore store;
    FrmTalk win;
    // `ini` is the settings file, "Talk.ini" in `home` by default.
    explicit RealProgram(const QString &home, const QString &ini = {})
        : store(ini.isEmpty() ? home + "/Talk.ini" : ini),
          win(Services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }})
    {
        player.preload(home);
        win.Form_Load(home);
        win.show();
        if (!QTest::qWaitForWindowExposed(&win))
            qWarning("the window was not shown");
        if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
            qWarning("no sound output");
    }
};

} // namespace kel::test

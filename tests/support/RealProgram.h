#pragma once
// The main window on the real clock and the real screen: with the real
// player, for tests that hear it through the null sink, or with any other.
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

template <typename Player>
struct ProgramWith {
    SteadyClock clock;
    Player player;
    Platform platform;
    SettingsStore store;
    FrmTalk win;

    // `ini` is the settings file, "Talk.ini" in `home` by default.
    explicit ProgramWith(const QString &home, const QString &ini = {})
        : store(ini.isEmpty() ? home + "/Talk.ini" : ini),
          win(Services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }})
    {
        player.preload(home);
        win.Form_Load(home);
        win.show();
    }
};

struct RealProgram : ProgramWith<QtWavePlayer> {
    explicit RealProgram(const QString &home, const QString &ini = {}) : ProgramWith(home, ini)
    {
        if (!QTest::qWaitForWindowExposed(&win))
            qWarning("the window was not shown");
        if (!QTest::qWaitFor([&] { return !player.outputDevice().isEmpty(); }, 5000))
            qWarning("no sound output");
    }
};

} // namespace kel::test

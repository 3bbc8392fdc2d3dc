#include "app/FrmTalk.h"
#include "base/Clock.h"
#include "base/CommandLine.h"
#include "base/SettingsStore.h"
#include "base/SingleInstance.h"
#include "speech/QtWavePlayer.h"
#include "voice/VoiceCommand.h"
#include "widgets/Fonts.h"
#include "widgets/Platform.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    // --help and --version must answer without a display, so the command
    // line is read before the application object exists.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const kel::StartRequest req =
        kel::parseCommandLine(args, qEnvironmentVariable("KELVORAN_HOME"), programDir);
    if (req.exitNow) {
        std::fputs(req.message.toLocal8Bit().constData(), req.exitCode ? stderr : stdout);
        return req.exitCode;
    }
    if (!req.exportVoice.isEmpty() || !req.importVoice.isEmpty())
        return kel::runVoiceCommand(req);

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kelvoran"));

    kel::SingleInstance instance;
    if (req.screenshot.isEmpty() && !req.quitWhenShown && !instance.acquire())
        return 0;   // another copy is running: end silently

    kel::installFontSubstitutions();
    kel::SteadyClock clock;
    kel::QtWavePlayer player;
    player.preload(req.appPath); // decoded in the background while the window builds
    kel::Platform platform;
    kel::SettingsStore store(kel::SettingsStore::defaultPath());
    kel::Services services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }};

    kel::FrmTalk w(services);
    w.Form_Load(req.appPath);

    if (!req.screenshot.isEmpty()) {
        const QStringList wh = req.screenshotSize.split(QLatin1Char('x'));
        if (wh.size() == 2)
            w.resize(wh[0].toInt(), wh[1].toInt());
        w.show();
        QTimer::singleShot(200, &w, [&] {
            const bool ok = w.grab().save(req.screenshot);
            QCoreApplication::exit(ok ? 0 : 1);
        });
        return app.exec();
    }

    if (req.fullScreen)
        w.showFullScreen();
    else
        w.show();
    if (req.quitWhenShown) {
        // Once the first paint has gone through, the window is on screen.
        QTimer::singleShot(0, &w, [] { QCoreApplication::exit(0); });
    }
    return app.exec();
}

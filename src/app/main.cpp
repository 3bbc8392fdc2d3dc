#include "app/FrmTalk.h"
#include "app/OwnWords.h"
#include "app/RunningCopy.h"
#include "app/StartPlaces.h"
#include "base/Clock.h"
#include "base/CommandLine.h"
#include "base/ExitGuard.h"
#include "base/LateModule.h"
#include "base/SettingsStore.h"
#include "base/SingleInstance.h"
#include "reading/Dictionary.h"
#include "reading/ReadingCommand.h"
#include "speech/LateWavePlayer.h"
#include "voice/StagedChange.h"
#include "voice/VoiceCommand.h"
#include "widgets/FontConfig.h"
#include "widgets/Fonts.h"
#include "widgets/Platform.h"
#include "widgets/QtJapanese.h"

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
    const kel::StartRequest req = kel::parseCommandLine(args);
    if (req.exitNow) {
        std::fputs(req.message.toLocal8Bit().constData(), req.exitCode ? stderr : stdout);
        return req.exitCode;
    }
    if (req.reading)
        return kel::printSpokenReadings(req.readingText);
    // --where only looks; everything else may make the data folder.
    const kel::StartPlaces places = kel::findStartPlaces(req.homeOption, programDir, req.where);
    if (req.predict)
        return kel::runPredictCommand(places.dataFolder, *req.predict);
    if (req.where || !req.autostart.isEmpty())
        return kel::answerWithoutWindow(req, places);
    for (const QString &line : places.problems)
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    // An import or restore cut off by a kill is finished (or undone, when it
    // had not yet been decided) before anything reads the files; a window
    // does so only once it is the one copy, so that a second start never
    // cuts into the first one's restore.
    if (kel::isBackupCommand(req))
        return kel::runVoiceCommandLocked(req, places.dataFolder, kel::SettingsStore::defaultPath());

    kel::useProgramFonts();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kelvoran"));
    // Qt's standard dialogs speak Japanese like the rest of the program.
    if (!kel::loadQtJapanese())
        std::fputs(QStringLiteral("kelvoran: Qt の日本語訳（qt6-translations-l10n）がありません。"
                                  "ファイルの選択などが英語で表示されます。\n").toLocal8Bit().constData(), stderr);
    // SIGTERM and SIGHUP end the program as "終了" does, whatever is on screen.
    kel::endOnTerminationSignals(
        [] {
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget *w : windows)
                w->close();
            QCoreApplication::quit();
        },
        std::chrono::milliseconds(1800));

    kel::SingleInstance instance, dataLock;
    const bool single = req.screenshot.isEmpty() && !req.quitWhenShown;
    if (single && !kel::startAsOnlyCopy(instance, dataLock, places.dataFolder))
        return 0;   // the running copy is in front
    kel::finishCutOffChange(places.dataFolder);

    kel::installFontSubstitutions();
    kel::SteadyClock clock;
    kel::LateWavePlayer player;
    kel::Platform platform;
    kel::SettingsStore store(kel::SettingsStore::defaultPath());
    kel::Services services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }};

    kel::FrmTalk w(services);
    w.state().SoundSetPath = places.soundSet;
    w.Form_Load(places.dataFolder);

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

    // A later start knocks here and this window comes to the front.
    kel::RunningCopyServer knock([&w] { kel::bringToFront(&w); });
    kel::RunningCopyServer knockOnData([&w] { kel::bringToFront(&w); });

    if (req.fullScreen)
        w.showFullScreen();
    else
        w.show();
    if (req.quitWhenShown) {
        // Once the first paint has gone through, the window is on screen.
        QTimer::singleShot(0, &w, [] { QCoreApplication::exit(0); });
    } else {
        // Once the first paint has gone through: the late module loaded
        // (the sound device, the knock socket), a later start answered, the
        // reading dictionary opened and the sounds decoded in the
        // background, so that building and showing the window need not
        // share the processor (or the memory) with them. A later start
        // knocking before then keeps knocking until it is answered.
        QTimer::singleShot(0, &w, [&] {
            QTimer::singleShot(0, &w, [&] {
                if (!kel::loadLateModule())
                    kel::showStartNotices(w.talk(), {QString::fromUtf8(kel::kLateModuleMissing)});
                player.open();
                if (single && instance.held())
                    knock.listen(instance.socketPath());
                if (single && dataLock.held())
                    knockOnData.listen(dataLock.socketPath(), true);
                kel::Dictionary::shared().load();
                player.preload(places.dataFolder);
                if (!places.soundSet.isEmpty())
                    player.preload(places.soundSet);
            });
        });
        kel::showStartNotices(w.talk(), places.notices);
    }
    const int code = app.exec();
    // Everything is on disk already, and taking the window and the sound
    // thread apart piece by piece would only hold the end up (an audio
    // server that does not answer, for one). The sockets and locks go
    // first, so that the next start finds them free at once; should even
    // that stall, the process ends anyway.
    kel::leaveWithin(std::chrono::milliseconds(1500), code);
    knock.close();
    knockOnData.close();
    instance.release();
    dataLock.release();
    kel::endNow(code);
}

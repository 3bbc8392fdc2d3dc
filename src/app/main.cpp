#include "app/FrmTalk.h"
#include "app/OwnWords.h"
#include "app/RunningCopy.h"
#include "app/WindowPlace.h"
#include "app/StartPlaces.h"
#include "base/Clock.h"
#include "base/CommandLine.h"
#include "base/ExitGuard.h"
#include "base/KnockSocket.h"
#include "base/SettingsStore.h"
#include "base/SingleInstance.h"
#include "accent/AccentCommand.h"
#include "reading/Dictionary.h"
#include "reading/ReadingCommand.h"
#include "speech/LazyWavePlayer.h"
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
#include <optional>

namespace {

void printLine(FILE *to, const QString &line)
{
    std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
}

// Everything a start answers without a window (--help, --reading, --where,
// --autostart, the backup commands): the exit code, or nullopt when the
// window is to open. --help and --version must answer without a display, so
// this runs before the application object exists.
std::optional<int> answerWithoutWindow(const kel::StartRequest &req, const kel::StartPlaces *places)
{
    if (req.exitNow) {
        std::fputs(req.message.toLocal8Bit().constData(), req.exitCode ? stderr : stdout);
        return req.exitCode;
    }
    if (req.accent)
        return kel::printAccents(req.readingText);
    if (req.reading)
        return kel::printSpokenReadings(req.readingText);
    if (!places)
        return std::nullopt;
    if (req.predict)
        return kel::runPredictCommand(places->dataFolder, *req.predict);
    if (req.where || !req.autostart.isEmpty())
        return kel::answerWithoutWindow(req, *places);
    for (const QString &line : places->problems)
        printLine(stderr, line);
    // An import or restore cut off by a kill is finished (or undone, when it
    // had not yet been decided) before anything reads the files; a window
    // does so only once it is the one copy, so that a second start never
    // cuts into the first one's restore.
    if (kel::isBackupCommand(req))
        return kel::runVoiceCommandLocked(req, places->dataFolder, kel::SettingsStore::defaultPath());
    return std::nullopt;
}

// The fonts and texts the window is drawn with, and how it ends on a signal.
void prepareApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvoran"));
    // Qt's standard dialogs speak Japanese like the rest of the program.
    if (!kel::loadQtJapanese())
        printLine(stderr, QStringLiteral("kelvoran: Qt の日本語訳（qt6-translations-l10n）がありません。"
                                         "ファイルの選択などが英語で表示されます。"));
    kel::endOnSignals();
    kel::installFontSubstitutions();
}

int takeScreenshot(kel::FrmTalk &w, const kel::StartRequest &req)
{
    const QStringList wh = req.screenshotSize.split(QLatin1Char('x'));
    if (wh.size() == 2)
        w.resize(wh[0].toInt(), wh[1].toInt());
    w.show();
    QTimer::singleShot(200, &w, [&] {
        const bool ok = w.grab().save(req.screenshot);
        QCoreApplication::exit(ok ? 0 : 1);
    });
    return QCoreApplication::exec();
}

// The two locks this copy holds, and the sockets a later start knocks on.
struct OnlyCopy {
    QWidget *window = nullptr; // brought to the front on a knock, once it is there
    kel::SingleInstance user, dataFolder;
    kel::KnockListener userKnock{[this] { raise(); }}, dataKnock{[this] { raise(); }};
    void raise()
    {
        if (window)
            kel::bringToFront(window);
    }
    void listen()
    {
        for (auto [lock, knock] : {std::pair{&user, &userKnock}, std::pair{&dataFolder, &dataKnock}}) {
            QString why;
            if (lock->held() && !knock->listen(lock->socketPath(), &why))
                printLine(stderr, QStringLiteral("kelvoran: 次に開かれたとき前に出るための窓口を作れません"
                                                 "（%1）。もう一つ開くことはできません。").arg(why));
        }
    }
    // The sockets and locks go first, so that the next start finds them free at once.
    void release()
    {
        userKnock.close();
        dataKnock.close();
        user.release();
        dataFolder.release();
    }
};

// Once the first paint has gone through: the sound device, a later start
// answered, the reading dictionary opened and the sounds decoded in the
// background, so that building and showing the window need not share the
// processor (or the memory) with them. A later start knocking before then
// keeps knocking until it is answered.
void afterFirstPaint(kel::FrmTalk &w, std::function<void()> work)
{
    QTimer::singleShot(0, &w, [&w, work = std::move(work)] { QTimer::singleShot(0, &w, work); });
}

int runWindow(const kel::StartRequest &req, const kel::StartPlaces &places)
{
    OnlyCopy copy;
    const bool single = req.screenshot.isEmpty() && !req.quitWhenShown;
    if (single && !kel::startAsOnlyCopy(copy.user, copy.dataFolder, places.dataFolder))
        return 0; // the running copy is in front, or the user was told why not
    // Looked at once a change cut off last time is finished: it may have
    // put the files back.
    QStringList notices;
    if (kel::finishCutOffChange({places.dataFolder, kel::SettingsStore::defaultPath()}) == kel::CutOffChange::SetAside) {
        printLine(stderr, kel::setAsideNotice());
        notices << kel::setAsideNotice();
    }
    notices << kel::windowNotices(places, kel::SettingsStore::defaultPath());

    kel::SteadyClock clock;
    kel::LazyWavePlayer player;
    kel::Platform platform;
    kel::SettingsStore store(kel::SettingsStore::defaultPath());
    kel::Services services{&clock, &player, &platform, &store, [] { return QDate::currentDate(); }};
    kel::FrmTalk w(services);
    copy.window = &w;
    w.state().SoundSetPath = places.soundSet;
    w.Form_Load(places.dataFolder);
    if (!req.screenshot.isEmpty())
        return takeScreenshot(w, req);

    kel::showAtLastPlace(w, store, req.fullScreen);
    if (req.quitWhenShown) {
        // Once the first paint has gone through, the window is on screen.
        QTimer::singleShot(0, &w, [] { QCoreApplication::exit(0); });
    } else {
        afterFirstPaint(w, [&] {
            player.open();
            copy.listen();
            kel::Dictionary::shared().load();
            player.preload(places.dataFolder);
            if (!places.soundSet.isEmpty())
                player.preload(places.soundSet);
        });
        kel::showStartNotices(w.talk(), notices);
    }
    const int code = QCoreApplication::exec();
    // Everything is on disk already, and taking the window and the sound
    // thread apart piece by piece would only hold the end up (an audio
    // server that does not answer, for one); should even the release
    // stall, the process ends anyway.
    kel::leaveWithin(std::chrono::milliseconds(1500), code);
    copy.release();
    kel::endNow(code);
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const kel::StartRequest req = kel::parseCommandLine(args);
    if (const std::optional<int> code = answerWithoutWindow(req, nullptr))
        return *code;
    // --where only looks; everything else may make the data folder.
    const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const kel::StartPlaces places = kel::findStartPlaces(req.homeOption, programDir, req.where);
    if (const std::optional<int> code = answerWithoutWindow(req, &places))
        return *code;

    const bool ownFonts = kel::useProgramFonts();
    QApplication app(argc, argv);
    prepareApplication();
    if (!ownFonts)
        kel::sayIfNoJapaneseFont();
    return runWindow(req, places);
}

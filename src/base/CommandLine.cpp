#include "base/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

namespace kel {
namespace {

QString withoutTrailingSeparator(QString path)
{
    path = QDir::cleanPath(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

StartRequest parseCommandLine(const QStringList &args, const QString &home, const QString &programDir)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Kelvoran: a Japanese talking board."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption homeOpt(
        QStringLiteral("home"),
        QStringLiteral("Folder holding the sound set, Talk.txt and day.txt "
                       "(default: $KELVORAN_HOME, else the program's folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption full(QStringLiteral("fullscreen"),
                                  QStringLiteral("Start full screen (F11 toggles)."));
    const QCommandLineOption shot(QStringLiteral("screenshot"),
                                  QStringLiteral("Render the window to a PNG file and end."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Window size for --screenshot, as WxH."),
                                  QStringLiteral("WxH"));
    const QCommandLineOption quitShown(QStringLiteral("quit-when-shown"),
                                       QStringLiteral("End as soon as the window is shown."));
    const QCommandLineOption exportVoice(QStringLiteral("export-voice"),
                                         QStringLiteral("Write the own voice's recordings to a backup FILE and end."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption importVoice(QStringLiteral("import-voice"),
                                         QStringLiteral("Take the own voice from a backup FILE and end; refuses to "
                                                        "replace own recordings unless --force."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("With --import-voice: replace own recordings."));
    p.addOptions({help, version, homeOpt, full, shot, size, quitShown, exportVoice, importVoice, force});

    StartRequest r;
    if (!p.parse(args)) {
        r.exitNow = true;
        r.exitCode = 2;
        r.message = p.errorText() + QLatin1Char('\n');
        return r;
    }
    if (p.isSet(help) || p.isSet(version)) {
        r.exitNow = true;
        r.message = p.isSet(help) ? p.helpText() : QStringLiteral("Kelvoran 1.3\n");
        return r;
    }
    if (p.isSet(homeOpt))
        r.appPath = p.value(homeOpt);
    else if (!home.isEmpty())
        r.appPath = home;
    else
        r.appPath = programDir;
    r.appPath = withoutTrailingSeparator(QDir(r.appPath).absolutePath());
    r.fullScreen = p.isSet(full);
    r.screenshot = p.value(shot);
    r.screenshotSize = p.value(size);
    r.quitWhenShown = p.isSet(quitShown);
    r.exportVoice = p.value(exportVoice);
    r.importVoice = p.value(importVoice);
    r.force = p.isSet(force);
    return r;
}

} // namespace kel

#include "base/CommandLine.h"

#include <QCommandLineParser>

namespace kel {

StartRequest parseCommandLine(const QStringList &args)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Kelvoran: a Japanese talking board."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption homeOpt(
        QStringLiteral("home"),
        QStringLiteral("Folder for Talk.txt, day.txt and own recordings. Without it: "
                       "$KELVORAN_HOME, else the program's folder if it is writable and "
                       "holds a Talk.txt, else $XDG_DATA_HOME/kelvoran "
                       "(~/.local/share/kelvoran). A folder that cannot be written "
                       "gives way to the next one. A character's sound is taken from "
                       "this folder first, then from the installed default set."),
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
    const QCommandLineOption autostart(
        QStringLiteral("autostart"),
        QStringLiteral("on: start full screen at every login (with this --home); off: no more. Then end."),
        QStringLiteral("on|off"));
    const QCommandLineOption where(QStringLiteral("where"),
                                   QStringLiteral("Show where the files and the sounds are, and end."));
    const QCommandLineOption exportVoice(QStringLiteral("export-voice"),
                                         QStringLiteral("Write the own voice's recordings to a backup FILE and end."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption importVoice(QStringLiteral("import-voice"),
                                         QStringLiteral("Take the own voice from a backup FILE and end; refuses to "
                                                        "replace own recordings unless --force."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption backup(QStringLiteral("backup"),
                                    QStringLiteral("Write one backup FILE of everything: Talk.txt, day.txt, the "
                                                   "settings of Talk.ini and the whole voice; then end."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption restore(QStringLiteral("restore"),
                                     QStringLiteral("Put everything back from a backup FILE, all or nothing, and end; "
                                                    "refuses to replace a file that differs unless --force."),
                                     QStringLiteral("FILE"));
    const QCommandLineOption force(QStringLiteral("force"),
                                   QStringLiteral("With --import-voice or --restore: replace what differs."));
    const QCommandLineOption reading(
        QStringLiteral("reading"),
        QStringLiteral("--reading [TEXT]: print what a spoken reading plays for TEXT (else for each line of standard input): "
                       "morae in hiragana, \"っ\" a silent beat, \"、\" a short pause, \"。\" a long one; then end."));
    const QCommandLineOption predict(
        QStringLiteral("predict"),
        QStringLiteral("--predict [N]: for each line of standard input (the text typed so far) print up to N "
                       "candidates (default 5), tab-separated, each the whole text once taken; then end."));
    p.addOptions({help, version, homeOpt, full, shot, size, quitShown, autostart, where, exportVoice, importVoice,
                  backup, restore, force, reading, predict});

    StartRequest r;
    if (!p.parse(args)) {
        r.exitNow = true;
        r.exitCode = 2;
        r.message = p.errorText() + QLatin1Char('\n');
        return r;
    }
    if (p.isSet(help) || p.isSet(version)) {
        r.exitNow = true;
        // Read before the application object exists, the parser cannot know
        // the program's name.
        r.message = p.isSet(help) ? p.helpText().replace(QStringLiteral("<executable_name>"),
                                                         QStringLiteral("kelvoran"))
                                  : QStringLiteral("Kelvoran 1.3\n");
        return r;
    }
    r.autostart = p.value(autostart);
    if (p.isSet(autostart) && r.autostart != u"on" && r.autostart != u"off") {
        r.exitNow = true;
        r.exitCode = 2;
        r.message = QStringLiteral("--autostart takes on or off\n");
        return r;
    }
    r.homeOption = p.value(homeOpt);
    r.where = p.isSet(where);
    r.fullScreen = p.isSet(full);
    r.screenshot = p.value(shot);
    r.screenshotSize = p.value(size);
    r.quitWhenShown = p.isSet(quitShown);
    r.exportVoice = p.value(exportVoice);
    r.importVoice = p.value(importVoice);
    r.backup = p.value(backup);
    r.restore = p.value(restore);
    r.force = p.isSet(force);
    r.reading = p.isSet(reading);
    if (r.reading && !p.positionalArguments().isEmpty())
        r.readingText = p.positionalArguments().join(QLatin1Char(' '));
    if (p.isSet(predict)) {
        bool ok = true;
        const QStringList n = p.positionalArguments();
        r.predict = n.isEmpty() ? 5 : n.first().toInt(&ok);
        if (!ok || *r.predict < 1) {
            r.exitNow = true;
            r.exitCode = 2;
            r.message = QStringLiteral("--predict takes a number of candidates, 1 or more\n");
        }
    }
    return r;
}

} // namespace kel

#include "base/CommandLine.h"

#include <QCommandLineParser>

namespace kel {

namespace {

// Each option as --help lists it: its names, what it does, and the name of
// its value ("" for a switch).
struct OptionRow {
    QStringList names;
    const char *description;
    const char *value = "";
};

const QList<OptionRow> &optionTable()
{
    static const QList<OptionRow> rows = {
        {{"h", "help"}, "Show this help and end."},
        {{"v", "version"}, "Show the version and end."},
        {{"home"},
         "Folder for Talk.txt, day.txt and own recordings. Without it: "
         "$KELVORAN_HOME, else the program's folder if it is writable and "
         "holds a Talk.txt, else $XDG_DATA_HOME/kelvoran "
         "(~/.local/share/kelvoran). A folder that cannot be written "
         "gives way to the next one. A character's sound is taken from "
         "this folder first, then from the installed default set.",
         "DIR"},
        {{"fullscreen"}, "Start full screen (F11 toggles)."},
        {{"screenshot"}, "Render the window to a PNG file and end.", "FILE"},
        {{"size"}, "Window size for --screenshot, as WxH.", "WxH"},
        {{"quit-when-shown"}, "End as soon as the window is shown."},
        {{"autostart"}, "on: start full screen at every login (with this --home); off: no more. Then end.", "on|off"},
        {{"where"}, "Show where the files and the sounds are, and end."},
        {{"export-voice"}, "Write the own voice's recordings to a backup FILE and end.", "FILE"},
        {{"import-voice"},
         "Take the own voice from a backup FILE and end; refuses to replace own recordings unless --force.", "FILE"},
        {{"backup"},
         "Write one backup FILE of everything: Talk.txt, day.txt, the settings of Talk.ini and the whole voice; "
         "then end.",
         "FILE"},
        {{"restore"},
         "Put everything back from a backup FILE, all or nothing, and end; refuses to replace a file that differs "
         "unless --force.",
         "FILE"},
        {{"force"},
         "With --import-voice or --restore: replace what differs; with --backup or --export-voice: write over an "
         "existing FILE."},
        {{"reading"},
         "--reading [TEXT]: print what a spoken reading plays for TEXT (else for each line of standard input): "
         "morae in hiragana, \"っ\" a silent beat, \"、\" a short pause, \"。\" a long one; then end."},
        {{"accent"},
         "--accent [TEXT]: as --reading, each mora followed by its pitch (/H high, /L low) and \" | \" between "
         "accent phrases; then end."},
        {{"predict"},
         "--predict [N]: for each line of standard input (the text typed so far) print up to N candidates "
         "(default 5), tab-separated, each the whole text once taken; then end."},
    };
    return rows;
}

StartRequest endingWith(int code, const QString &message)
{
    StartRequest r;
    r.exitNow = true;
    r.exitCode = code;
    r.message = message;
    return r;
}

// What the parsed command line asks for.
StartRequest requestFrom(const QCommandLineParser &p)
{
    StartRequest r;
    r.autostart = p.value(QStringLiteral("autostart"));
    r.homeOption = p.value(QStringLiteral("home"));
    r.where = p.isSet(QStringLiteral("where"));
    r.fullScreen = p.isSet(QStringLiteral("fullscreen"));
    r.screenshot = p.value(QStringLiteral("screenshot"));
    r.screenshotSize = p.value(QStringLiteral("size"));
    r.quitWhenShown = p.isSet(QStringLiteral("quit-when-shown"));
    r.exportVoice = p.value(QStringLiteral("export-voice"));
    r.importVoice = p.value(QStringLiteral("import-voice"));
    r.backup = p.value(QStringLiteral("backup"));
    r.restore = p.value(QStringLiteral("restore"));
    r.force = p.isSet(QStringLiteral("force"));
    r.reading = p.isSet(QStringLiteral("reading"));
    r.accent = p.isSet(QStringLiteral("accent"));
    if ((r.reading || r.accent) && !p.positionalArguments().isEmpty())
        r.readingText = p.positionalArguments().join(QLatin1Char(' '));
    if (p.isSet(QStringLiteral("predict"))) {
        bool ok = true;
        const QStringList n = p.positionalArguments();
        r.predict = n.isEmpty() ? 5 : n.first().toInt(&ok);
        if (!ok || *r.predict < 1)
            return endingWith(2, QStringLiteral("--predict takes a number of candidates, 1 or more\n"));
    }
    return r;
}

} // namespace

StartRequest parseCommandLine(const QStringList &args)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Kelvoran: a Japanese talking board."));
    for (const OptionRow &row : optionTable())
        p.addOption(QCommandLineOption(row.names, QString::fromUtf8(row.description), QString::fromUtf8(row.value)));
    if (!p.parse(args))
        return endingWith(2, p.errorText() + QLatin1Char('\n'));
    // Read before the application object exists, the parser cannot know
    // the program's name.
    if (p.isSet(QStringLiteral("help")))
        return endingWith(0, p.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("kelvoran")));
    if (p.isSet(QStringLiteral("version")))
        return endingWith(0, QStringLiteral("Kelvoran 1.3\n"));
    const StartRequest r = requestFrom(p);
    if (p.isSet(QStringLiteral("autostart")) && r.autostart != u"on" && r.autostart != u"off")
        return endingWith(2, QStringLiteral("--autostart takes on or off\n"));
    return r;
}

} // namespace kel

#include "base/Autostart.h"

#include "base/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kel {
namespace {

// One argument of an Exec line: plain when it can be, else in double quotes
// with ", `, $ and \ escaped; a literal % is doubled either way.
QString execArgument(const QString &arg)
{
    static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
    bool plain = !arg.isEmpty();
    for (const QChar c : arg)
        plain = plain && !reserved.contains(c);
    QString quoted = arg;
    if (!plain) {
        quoted.clear();
        for (const QChar c : arg) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // The Exec value is itself a string value, whose own escape is the backslash.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return quoted;
}

QString runningProgram()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace

QString autostartFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/autostart/kelvoran.desktop");
}

std::optional<QString> autostartEntry(const QString &program, const QStringList &args)
{
    QStringList exec{execArgument(program)};
    for (const QString &arg : args) {
        for (const QChar c : arg)
            if (c.category() == QChar::Other_Control)
                return std::nullopt;
        exec.append(execArgument(arg));
    }
    for (const QChar c : program)
        if (c.category() == QChar::Other_Control)
            return std::nullopt;
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kelvoran\n"
                          "Name[ja]=ケルヴォラン\n"
                          "Comment=Start the talking board full screen at login\n"
                          "Comment[ja]=ログイン時に全画面で起動します\n"
                          "Icon=kelvoran\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec.join(QLatin1Char(' ')));
}

QString setAutostart(bool on, const QStringList &args)
{
    const QString path = autostartFile();
    if (!on) {
        if (QFileInfo::exists(path) && !QFile::remove(path))
            return QStringLiteral("cannot remove ") + path;
        return {};
    }
    QStringList all = args;
    if (!all.contains(QStringLiteral("--fullscreen")))
        all.prepend(QStringLiteral("--fullscreen"));
    const std::optional<QString> entry = autostartEntry(runningProgram(), all);
    if (!entry)
        return QStringLiteral("a path holds a line break");
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("cannot create the folder of ") + path;
    if (saveFileAtomically(path, entry->toUtf8()))
        return QStringLiteral("cannot write ") + path;
    return {};
}

bool autostartEnabled()
{
    return QFileInfo(autostartFile()).isFile();
}

} // namespace kel

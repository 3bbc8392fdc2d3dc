#include "widgets/FontConfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QSet>
#include <QXmlStreamReader>

#include <fcntl.h>
#include <optional>
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kel {

namespace {

constexpr const char *kIpaGothicFolder = "/usr/share/fonts/opentype/ipafont-gothic";
constexpr const char *kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";
constexpr qint64 kMaxConfigBytes = 1 << 20;
constexpr int kMaxIncludeDepth = 16;

// The bytes of a configuration file, when it is a regular file of a sane
// size; opened without waiting, so that a FIFO cannot hold the start.
std::optional<QByteArray> regularFileBytes(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QFile f;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxConfigBytes
        || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return f.read(kMaxConfigBytes);
}

// Where an <include> leads, as the font system reads it.
QString includedPath(const QString &text, const QString &prefix, const QString &from)
{
    if (prefix == u"xdg") {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty())
            config = QDir::homePath() + QStringLiteral("/.config");
        return config + QLatin1Char('/') + text;
    }
    if (text.startsWith(QLatin1String("~/")))
        return QDir::homePath() + text.mid(1);
    return QDir(QFileInfo(from).absolutePath()).absoluteFilePath(text);
}

struct ConfigWalk {
    QSet<QString> seen;
    QString offending;

    bool file(const QString &path, int depth)
    {
        if (seen.contains(path))
            return true;
        seen.insert(path);
        const std::optional<QByteArray> bytes = depth <= kMaxIncludeDepth ? regularFileBytes(path) : std::nullopt;
        if (!bytes) {
            offending = path;
            return false;
        }
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"include")
                continue;
            const QString prefix = xml.attributes().value(QStringLiteral("prefix")).toString();
            const QString target = includedPath(xml.readElementText().trimmed(), prefix, path);
            if (!included(target, depth + 1))
                return false;
        }
        return true;
    }

    bool included(const QString &path, int depth)
    {
        // A missing file is passed over (the font system only warns).
        const QFileInfo info(path);
        if (!info.exists())
            return true;
        if (!info.isDir())
            return file(path, depth);
        // A folder: the font system reads its *.conf files.
        const QStringList names = QDir(path).entryList({QStringLiteral("*.conf")}, QDir::Files | QDir::System, QDir::Name);
        for (const QString &name : names)
            if (!file(path + QLatin1Char('/') + name, depth))
                return false;
        return true;
    }
};

} // namespace

bool fontConfigFilesAreRegular(const QString &path, QString *offending)
{
    ConfigWalk walk;
    const bool ok = walk.file(path, 0);
    if (offending)
        *offending = walk.offending;
    return ok;
}

void sayIfNoJapaneseFont()
{
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        qWarning("kelvoran: 日本語を表示できるフォントがありません。文字が四角で表示されます"
                 "（fonts-ipafont-gothic を入れてください）。");
}

QStringList programFontFolders()
{
    const QString ipa = QString::fromLatin1(kIpaGothicFolder);
    if (!QFileInfo::exists(ipa + QStringLiteral("/ipag.ttf")))
        return {};
    QStringList folders{ipa};
    if (QFileInfo(QString::fromLatin1(kDejaVuFolder)).isDir())
        folders << QString::fromLatin1(kDejaVuFolder);
    return folders;
}

QByteArray programFontConfig(const QStringList &folders)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n";
    for (const QString &folder : folders)
        xml += "  <dir>" + folder.toHtmlEscaped().toUtf8() + "</dir>\n";
    // The system's caches first (fc-cache fills them when fonts are
    // installed), the user's own for anything newer.
    xml += "  <cachedir>/var/cache/fontconfig</cachedir>\n"
           "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n"
           // Debian's defaults for these fonts: smooth, lightly hinted.
           "  <match target=\"pattern\"><edit name=\"antialias\" mode=\"append\"><bool>true</bool></edit></match>\n"
           "  <match target=\"pattern\"><edit name=\"hintstyle\" mode=\"append\"><const>hintslight</const></edit></match>\n"
           "  <match target=\"pattern\"><edit name=\"lcdfilter\" mode=\"append\"><const>lcddefault</const></edit></match>\n"
           // The generic names Qt asks for.
           "  <alias><family>sans-serif</family><prefer><family>DejaVu Sans</family><family>IPAPGothic</family></prefer></alias>\n"
           "  <alias><family>serif</family><prefer><family>DejaVu Serif</family><family>IPAPGothic</family></prefer></alias>\n"
           "  <alias><family>monospace</family><prefer><family>DejaVu Sans Mono</family><family>IPAGothic</family></prefer></alias>\n"
           "</fontconfig>\n";
    return xml;
}

bool useProgramFonts()
{
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE")) {
        QString file = qEnvironmentVariable("FONTCONFIG_FILE"), offending;
        if (!file.startsWith(QLatin1Char('/')) && !file.startsWith(QLatin1String("~/")))
            file = QStringLiteral("/etc/fonts/") + file; // where the font system looks for a bare name
        if (fontConfigFilesAreRegular(includedPath(file, {}, QStringLiteral("/")), &offending))
            return false;
        qWarning("kelvoran: フォントの設定 FONTCONFIG_FILE（%s）は、普通のファイルでないもの（%s）を読むので使いません。",
                 qPrintable(file), qPrintable(offending));
        qunsetenv("FONTCONFIG_FILE");
    }
    const QStringList folders = programFontFolders();
    if (folders.isEmpty())
        return false;
    FcConfig *config = FcConfigCreate();
    const QByteArray xml = programFontConfig(folders);
    if (!config || !FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8 *>(xml.constData()), FcTrue)
        || !FcConfigBuildFonts(config)) {
        if (config)
            FcConfigDestroy(config);
        return false;
    }
    // The font system keeps its own reference from here on.
    const bool made = FcConfigSetCurrent(config);
    FcConfigDestroy(config);
    return made;
}

} // namespace kel

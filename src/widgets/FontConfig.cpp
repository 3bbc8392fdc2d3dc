#include "widgets/FontConfig.h"

#include <QDir>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

namespace kel {

namespace {

constexpr const char *kIpaGothicFolder = "/usr/share/fonts/opentype/ipafont-gothic";
constexpr const char *kDejaVuFolder = "/usr/share/fonts/truetype/dejavu";

} // namespace

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
    if (qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        return false;
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

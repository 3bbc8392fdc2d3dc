#include "speech/WavName.h"

#include "speech/MoraHeights.h"

#include <QDir>
#include <QFileInfo>

namespace kel {

namespace {

bool canBeFileName(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'/' || c == u'\0' || c == u'\n' || c == u'\r')
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate())
                return false;
            ++i; // the pair is one character
        } else if (c.isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<QString> wavPathFor(const QString &appPath, const QString &ch)
{
    if (!canBeFileName(ch))
        return std::nullopt;
    return appPath + QChar(u'/') + ch + QStringLiteral(".wav");
}

QString printable(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (pair) {
            out += text.mid(i++, 2);
        } else if (c.isSurrogate() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format
                   || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph) {
            out += c.unicode() < 0x100 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                                       : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<QString> soundFileFor(const QString &userFolder, const QString &defaultSet, const QString &ch,
                                    const std::function<bool(const QString &)> &isFile)
{
    for (const QString &folder : {userFolder, defaultSet}) {
        if (folder.isEmpty())
            continue;
        const std::optional<QString> path = wavPathFor(folder, ch);
        if (!path)
            return std::nullopt;
        if (isFile(*path))
            return path;
        // A folder holding a mora at one height only still speaks it in
        // its own voice (the player shifts it to the height wanted).
        for (const bool high : {true, false})
            if (const QString height = heightPath(*path, high); isFile(height))
                return height;
    }
    return std::nullopt;
}

std::optional<QString> soundFileFor(const QString &userFolder, const QString &defaultSet, const QString &ch)
{
    return soundFileFor(userFolder, defaultSet, ch, [](const QString &path) { return QFileInfo(path).isFile(); });
}

QString defaultSoundSetFolder(const QString &programDir, const std::function<bool(const QString &)> &isDir)
{
    const QString installed = QDir::cleanPath(programDir + QStringLiteral("/../share/kelvoran/voices"));
    const QString built = programDir + QStringLiteral("/voices");
    for (const QString &folder : {installed, built})
        if (isDir(folder))
            return folder;
    return installed;
}

} // namespace kel

#include "speech/WavName.h"

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

} // namespace kel

#include "base/FileErrors.h"

#include <QtGlobal>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kel {

namespace {

// Qt takes its words from strerror(), so the same call gives the words
// each fault comes with, in whatever language the C library speaks.
const struct {
    int code;
    FileFault fault;
} kCodes[] = {
    {ENOSPC, FileFault::DiskFull},       {EDQUOT, FileFault::DiskFull},
    {EFBIG, FileFault::DiskFull},        {EACCES, FileFault::NoPermission},
    {EPERM, FileFault::NoPermission},    {EROFS, FileFault::NoPermission},
    {ENOENT, FileFault::Missing},        {ENOTDIR, FileFault::Missing},
    {ENAMETOOLONG, FileFault::NameTooLong},
};

} // namespace

FileFault faultOf(const QString &systemWords)
{
    for (const auto &c : kCodes)
        if (systemWords.contains(QString::fromLocal8Bit(std::strerror(c.code)), Qt::CaseInsensitive))
            return c.fault;
    return FileFault::Other;
}

namespace {

struct Words {
    const char *summary;
    const char *advice;
};

Words wordsFor(FileFault fault)
{
    switch (fault) {
    case FileFault::DiskFull:
        return {"ディスクがいっぱいです", "いらないファイルを消して、もう一度お試しください。"};
    case FileFault::NoPermission:
        return {"書き込みが許されていない場所です", "書き込める場所か、別のディスクをお使いください。"};
    case FileFault::Missing:
        return {"ファイルかフォルダが見つかりません", "ディスクがつながっているか確かめてください。"};
    case FileFault::NameTooLong:
        return {"名前が長すぎます", "短い名前にしてください。"};
    case FileFault::Other:
        break;
    }
    return {"ディスクを読み書きできませんでした", "ディスクを確かめて、もう一度お試しください。"};
}

} // namespace

QString faultSummary(FileFault fault)
{
    return QString::fromUtf8(wordsFor(fault).summary);
}

QString reasonFor(FileFault fault)
{
    const Words w = wordsFor(fault);
    return QString::fromUtf8(w.summary) + QStringLiteral("。") + QString::fromUtf8(w.advice);
}

QString japaneseReason(const QString &systemWords)
{
    qWarning("kelvoran: %s", qPrintable(systemWords));
    return reasonFor(faultOf(systemWords));
}

QString japaneseSummary(const QString &systemWords)
{
    qWarning("kelvoran: %s", qPrintable(systemWords));
    return faultSummary(faultOf(systemWords));
}

QString japaneseWords(const QString &message)
{
    // Wholly the system's (or a library's) words: none of it is for the user.
    const bool systemOnly = std::all_of(message.cbegin(), message.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (systemOnly && !message.isEmpty())
        return japaneseSummary(message);
    QString said = message;
    for (const auto &c : kCodes)
        said.replace(QString::fromLocal8Bit(std::strerror(c.code)), faultSummary(c.fault), Qt::CaseInsensitive);
    if (said != message)
        qWarning("kelvoran: %s", qPrintable(message));
    return said;
}

} // namespace kel

#include "base/TextFileIO.h"

#include "base/FileErrors.h"

namespace kel {

ListFileText readListFile(const QString &path)
{
    const LoadedFile file = loadTextFile(path);
    switch (file.status) {
    case LoadedFile::Missing:
        return {ListFileText::Missing, {}};
    case LoadedFile::Unreadable:
        return {ListFileText::Unreadable, {}};
    case LoadedFile::NotRegular:
        return {ListFileText::NotRegular, {}};
    case LoadedFile::TooLarge:
        return {ListFileText::TooLarge, {}};
    case LoadedFile::Read:
        break;
    }
    // A UTF-8 file (re-saved in an editor) is read as such and written back
    // in code page 932 at the next store.
    DecodedText decoded = decodeTextFile(file.bytes);
    const auto status = decoded.source == DecodedText::Invalid ? ListFileText::Invalid
                                                               : ListFileText::Read;
    return {status, std::move(decoded.text), {true, file.bytes}};
}

std::optional<StoreProblem> storeListFile(const QString &path, ListFileText &asRead, const EncodedFile &file,
                                          OutsideChange *outside)
{
    if (!asRead.mayOverwrite())
        return StoreProblem{StoreProblem::FileProtected, {}, {}};
    if (!file.ok())
        return StoreProblem{StoreProblem::Unencodable, file.failure->character, {}};
    OutsideChange change;
    if (const std::optional<SaveError> error = saveCheckingOutside(path, asRead.seen, file.bytes, &change))
        return StoreProblem{StoreProblem::WriteFailed, {}, error->reason};
    if (outside)
        *outside = change;
    if (change.kind == OutsideChange::SavedBeside)
        return std::nullopt; // the file at `path` is still what it was
    asRead.status = ListFileText::Read;
    asRead.text = decodeTextFile(asRead.seen.bytes).text;
    return std::nullopt;
}

qsizetype firstUnencodableStoredLine(const QStringList &lines, qsizetype typed)
{
    // One conversion per line: looking character by character (a converter
    // each) made storing ten years of diary take a third of a second.
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (i != typed && !encodeCp932(lines.at(i)))
            return i;
    return -1;
}

QString askReplaceUnencodable(const QString &line)
{
    qsizetype shownLength = 16;
    if (line.size() > shownLength && line.at(shownLength - 1).isHighSurrogate())
        ++shownLength;
    const QString shown = line.size() > shownLength ? line.left(shownLength) + QStringLiteral("…") : line;
    return QStringLiteral("「%1」に保存できない文字があります。「？」にして保存しますか？").arg(shown);
}

QString noticeFor(const StoreProblem &problem, const StoreNotices &notices)
{
    switch (problem.kind) {
    case StoreProblem::FileProtected:
        return notices.fileProtected;
    case StoreProblem::Unencodable:
        return QStringLiteral("「%1」は保存できない文字です").arg(problem.character);
    case StoreProblem::WriteFailed:
        break;
    }
    // Why, and what to do: a full disk and a read-only stick want different help.
    return notices.writeFailed + QStringLiteral("。\n") + japaneseReason(problem.reason);
}

} // namespace kel

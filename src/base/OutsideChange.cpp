#include "base/OutsideChange.h"

#include "base/AnsiText.h"
#include "base/StoredFile.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <vector>

namespace kel {
namespace {

using Lines = QList<QByteArray>;

Lines splitLines(const QByteArray &bytes)
{
    Lines lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the line end of the last line
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// Lines theirs put between the base lines `after` and `before` (-1: the
// file's start, and its end).
struct Addition {
    qsizetype after;
    qsizetype before;
    Lines lines;
};

struct LineChange {
    Lines removed;
    std::vector<Addition> added;
};

// A middle part larger than this (lines of base times lines of theirs) is
// not compared line against line: such a change is no plain one anyway.
constexpr qsizetype kMostCompared = 4'000'000;

// How theirs differs from base, when only by whole lines added or removed.
std::optional<LineChange> lineChange(const Lines &base, const Lines &theirs)
{
    const qsizetype nb = base.size(), nt = theirs.size();
    qsizetype head = 0;
    while (head < nb && head < nt && base[head] == theirs[head])
        ++head;
    qsizetype tail = 0;
    while (tail < nb - head && tail < nt - head && base[nb - 1 - tail] == theirs[nt - 1 - tail])
        ++tail;
    const qsizetype b = nb - head - tail, t = nt - head - tail;
    if (b * t > kMostCompared)
        return std::nullopt;

    // Longest common subsequence of the middle parts, then walked from the
    // front: each run of removals and additions between two kept lines is
    // one hunk, and a hunk with both is a changed line.
    std::vector<int> len(size_t((b + 1) * (t + 1)), 0);
    auto at = [&](qsizetype i, qsizetype j) -> int & { return len[size_t(i * (t + 1) + j)]; };
    for (qsizetype i = b - 1; i >= 0; --i)
        for (qsizetype j = t - 1; j >= 0; --j)
            at(i, j) = base[head + i] == theirs[head + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));

    LineChange change;
    qsizetype i = 0, j = 0;
    while (i < b || j < t) {
        Lines removed, added;
        const qsizetype anchor = head + i - 1;
        while ((i < b || j < t) && !(i < b && j < t && base[head + i] == theirs[head + j])) {
            if (j >= t || (i < b && at(i + 1, j) >= at(i, j + 1)))
                removed << base[head + i++];
            else
                added << theirs[head + j++];
        }
        if (!removed.isEmpty() && !added.isEmpty())
            return std::nullopt;
        change.removed << removed;
        if (!added.isEmpty())
            change.added.push_back({anchor, head + i < nb ? head + i : -1, added});
        if (i < b && j < t) {
            ++i;
            ++j;
        }
    }
    return change;
}

} // namespace

SeenFile readSeenFile(const QString &path)
{
    StoredRead read = readStoredFile(path, storedFileLimit(path));
    if (read.status != StoredRead::Read)
        return {};
    return {true, std::move(read.bytes)};
}

std::optional<QByteArray> mergeOutsideChange(const QByteArray &base, const QByteArray &theirs,
                                             const QByteArray &ours)
{
    const Lines baseLines = splitLines(base), theirLines = splitLines(theirs);
    const std::optional<LineChange> change = lineChange(baseLines, theirLines);
    if (!change)
        return std::nullopt;
    Lines merged = splitLines(ours);
    for (const QByteArray &line : change->removed)
        merged.removeOne(line);
    for (const Addition &a : change->added) {
        // In front of the line that follows them, else behind the one that
        // comes before; lines added at the end go at the end of ours.
        const qsizetype before = a.before < 0 ? -1 : merged.indexOf(baseLines[a.before]);
        const qsizetype after = a.after < 0 ? -1 : merged.indexOf(baseLines[a.after]);
        qsizetype at = merged.size();
        if (a.before >= 0 && before >= 0)
            at = before;
        else if (a.before >= 0 && after >= 0)
            at = after + 1;
        else if (a.before >= 0 && a.after < 0)
            at = 0;
        for (const QByteArray &line : a.lines) {
            // Added here as well (two copies storing the same sentence): once.
            if (merged.count(line) >= theirLines.count(line))
                continue;
            merged.insert(at++, line);
        }
    }
    const QByteArray end = ours.contains("\r\n") || (ours.isEmpty() && theirs.contains("\r\n")) ? "\r\n" : "\n";
    QByteArray out;
    for (const QByteArray &line : merged)
        out += line + end;
    return out;
}

QString keptCopyPath(const QString &path, const QDateTime &when)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    const QString stem = info.path() + u'/' + info.completeBaseName() + QStringLiteral("（ほかのプログラムの変更 ")
                         + when.toString(QStringLiteral("yyyy-MM-dd HHmmss"));
    QString kept = stem + QStringLiteral("）") + suffix;
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = stem + QStringLiteral(" %1）").arg(n) + suffix;
    return kept;
}

QString savedBesidePath(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return info.path() + u'/' + info.completeBaseName() + QStringLiteral("（このプログラムの保存）") + suffix;
}

namespace {

// Theirs with each line it added in UTF-8 written as ours is, in code page
// 932: a line an editor appended in UTF-8 to Talk.txt would otherwise be
// stored as garbage and later offered as "？". Nothing when such a line has
// a character code page 932 cannot hold.
std::optional<QByteArray> theirsInOurCode(const QByteArray &base, const QByteArray &theirs, const QByteArray &ours)
{
    const bool oursCp932 = decodeTextFile(ours).source == DecodedText::Cp932 && !ours.isEmpty()
                           && !QByteArrayView(ours).isValidUtf8();
    if (!oursCp932 || theirs.startsWith("\xEF\xBB\xBF"))
        return theirs;
    const Lines baseLines = splitLines(base);
    QByteArray out;
    for (QByteArray line : theirs.split('\n')) {
        const bool utf8Only = !baseLines.contains(line.endsWith('\r') ? line.chopped(1) : line)
                              && QByteArrayView(line).isValidUtf8() && decodeTextFile(line).source == DecodedText::Utf8;
        if (utf8Only) {
            const std::optional<QByteArray> cp932 = encodeCp932(QString::fromUtf8(line));
            if (!cp932)
                return std::nullopt;
            line = *cp932;
        }
        out += line + '\n';
    }
    out.chop(1);
    return out;
}

// What another program did that is not merged line by line but kept beside:
// emptying the file, cutting it by more than half (a sync tool's half
// written copy, a careless ": > Talk.txt"), or writing what no encoding
// reads. Taken as removals, any of these would lose the user's sentences.
bool lookedLikeLoss(const SeenFile &seen, const QByteArray &theirs)
{
    return (seen.exists && theirs.size() * 2 < seen.bytes.size())
           || decodeTextFile(theirs).source == DecodedText::Invalid;
}

} // namespace

std::optional<SaveError> saveCheckingOutside(const QString &path, SeenFile &seen, const QByteArray &ours,
                                             OutsideChange *outside)
{
    OutsideChange change;
    StoredRead now = readStoredFile(path, storedFileLimit(path));
    if (now.status == StoredRead::Unreadable)
        return SaveError{now.reason};
    if (now.status == StoredRead::NotRegular || now.status == StoredRead::TooLarge) {
        // A link or a device at the file's name would take the save
        // elsewhere, outside the folder; a runaway file is not copied. Both
        // are left as they are, and ours is kept beside them.
        change = {OutsideChange::SavedBeside, savedBesidePath(path)};
        if (!isPlainFileOrMissing(change.keptCopy))
            return SaveError{QStringLiteral("%1 is not a regular file").arg(change.keptCopy)};
        if (std::optional<SaveError> error = saveFileAtomically(change.keptCopy, ours))
            return error;
        if (outside)
            *outside = change;
        return std::nullopt;
    }
    const bool exists = now.status == StoredRead::Read;
    QByteArray bytes = ours;
    // A file that vanished lost nothing of ours: it is written afresh.
    if (exists && (exists != seen.exists || now.bytes != seen.bytes) && now.bytes != ours) {
        std::optional<QByteArray> theirs = theirsInOurCode(seen.bytes, now.bytes, ours);
        if (theirs && lookedLikeLoss(seen, *theirs))
            theirs.reset();
        if (std::optional<QByteArray> merged = theirs ? mergeOutsideChange(seen.bytes, *theirs, ours) : std::nullopt) {
            bytes = *merged;
            change.kind = OutsideChange::Merged;
        } else {
            change = {OutsideChange::KeptBoth, keptCopyPath(path, QDateTime::currentDateTime())};
            if (std::optional<SaveError> error = saveFileAtomically(change.keptCopy, now.bytes))
                return error;
        }
    }
    if (std::optional<SaveError> error = saveFileAtomically(path, bytes)) {
        // Their version is still in its place: no second copy of it.
        if (change.kind == OutsideChange::KeptBoth)
            QFile::remove(change.keptCopy);
        return error;
    }
    seen = {true, bytes};
    if (outside)
        *outside = change;
    return std::nullopt;
}

QString outsideChangeNotice(const QString &fileName, const OutsideChange &change)
{
    switch (change.kind) {
    case OutsideChange::None:
        break;
    case OutsideChange::Merged:
        return QStringLiteral("%1 はほかのプログラムでも変更されていました。その変更と合わせて保存しました。").arg(fileName);
    case OutsideChange::KeptBoth:
        return QStringLiteral("%1 はほかのプログラムで書き換えられていました。その内容は「%2」に残し、こちらの内容を保存しました。")
            .arg(fileName, QFileInfo(change.keptCopy).fileName());
    case OutsideChange::SavedBeside:
        return QStringLiteral("%1 がふつうのファイルではないため、書き換えませんでした。こちらの内容は「%2」に保存しました。")
            .arg(fileName, QFileInfo(change.keptCopy).fileName());
    }
    return {};
}

} // namespace kel

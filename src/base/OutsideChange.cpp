#include "base/OutsideChange.h"

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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return {true, file.readAll()};
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

std::optional<SaveError> saveCheckingOutside(const QString &path, SeenFile &seen, const QByteArray &ours,
                                             OutsideChange *outside)
{
    OutsideChange change;
    const SeenFile now = readSeenFile(path);
    if (!now.exists && QFileInfo::exists(path))
        return SaveError{QStringLiteral("cannot read %1 to compare it").arg(path)};
    QByteArray bytes = ours;
    // A file that vanished lost nothing of ours: it is written afresh.
    if (now.exists && (now.exists != seen.exists || now.bytes != seen.bytes) && now.bytes != ours) {
        if (std::optional<QByteArray> merged = mergeOutsideChange(seen.bytes, now.bytes, ours)) {
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
    }
    return {};
}

} // namespace kel

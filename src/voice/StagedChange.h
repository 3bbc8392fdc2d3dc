#pragma once
// Changes to several files made all or nothing, across a kill -9 or a power
// cut:
//
//   1. the free space is checked for every new file at once;
//   2. every new file is written, flushed and synced into a staging folder
//      in the data folder (".kelvoran-staging"), under a number;
//   3. a plan naming each number's target (or a target to remove) is synced
//      and renamed into place: from this moment the change is decided;
//   4. each staged file is renamed over its target (one atomic step each,
//      in the same file system), each removal done; the plan and the
//      staging folder go last.
//
// Cut off before step 3, nothing outside the staging folder has changed,
// and the next start removes it. Cut off after, the next start runs step 4
// again from the plan (each step can be repeated), so the new files are all
// in place. Either way no file is left half written and no stray file stays.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kel {

struct FileChange {
    QString target;                  // absolute path
    std::optional<QByteArray> bytes; // nullopt: the target is removed
};

// Makes every change or none; false with the reason in `error`, the files
// then as they were. (One exception: a target on another disk, such as the
// settings file, is copied rather than renamed; should that copy fail once
// the change is decided, the rest is in place and the next start copies it.)
bool changeAllOrNothing(const QString &dataFolder, const QList<FileChange> &changes, QString *error);

// At start: finishes a decided change that was cut off, or removes the
// staging of one that was not decided. True when there was one.
bool finishCutOffChange(const QString &dataFolder);

// The staging folder's name in the data folder.
inline constexpr char kStagingFolder[] = ".kelvoran-staging";

} // namespace kel

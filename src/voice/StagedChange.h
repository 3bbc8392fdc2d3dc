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
//
// The data folder may be on a stick or a share that someone else can
// write, so a plan found there is carried out only when it is one this
// program wrote, and then only within the data folder's own places:
//
//   kelvoran-staging 2
//   <number> \t P|D \t <place> \t <name> \t <sha256 of the staged file, or ->
//   ...
//   end \t <sha256 of every line above>
//
// A place is "data" (Talk.txt, day.txt, a sound <voice name>.wav), "takes"
// and "generated" (a <voice name>.wav in the voice's own subfolders) or
// "ini" (the settings file, by its own name). The places are checked after
// resolving links, and the target itself must be a regular file or absent.
// A plan that fails any check is void: nothing of it is done, its staging
// folder is set aside under a name of its own, and the user is told once.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kel {

// Where the user's files are: what a plan may touch, and nothing else.
struct BackupPlaces {
    QString dataFolder; // Talk.txt, day.txt, the voice
    QString iniPath;    // Talk.ini ("" when a change never touches it)
};

struct FileChange {
    QString target;                  // absolute path
    std::optional<QByteArray> bytes; // nullopt: the target is removed
};

// Makes every change or none; false with the reason (in Japanese) in
// `error`, the files then as they were. A target outside the places is
// refused before anything is written. (One exception: a target on another
// disk, such as the settings file, is copied rather than renamed; should
// that copy fail once the change is decided, the rest is in place and the
// next start copies it.)
bool changeAllOrNothing(const BackupPlaces &places, const QList<FileChange> &changes, QString *error);

enum class CutOffChange {
    None,     // no staging folder
    Finished, // a decided change was finished, or an undecided one removed
    SetAside, // the plan was void: nothing done, the folder set aside
};

// At start: finishes a decided change that was cut off, or removes the
// staging of one that was not decided.
CutOffChange finishCutOffChange(const BackupPlaces &places);

// What the user is told, once, about a plan set aside.
QString setAsideNotice();

// One step of a plan, its target resolved.
struct PlanStep {
    QString staged; // the staged file's name in the staging folder ("3")
    QString target; // absolute path inside the places
    bool remove = false;
    QByteArray sha256; // of the staged file, when put
};

// The steps of `plan`, or nullopt when it is not a whole plan of this
// program's form or names anything outside `places`.
std::optional<QList<PlanStep>> readPlan(const QByteArray &plan, const BackupPlaces &places);

// The staging folder's name in the data folder.
inline constexpr char kStagingFolder[] = ".kelvoran-staging";

} // namespace kel

#pragma once
// Where the user's files (Talk.txt, day.txt, own recordings) live.
//
// The first place that applies is the one wanted:
//   --home DIR, else $KELVORAN_HOME, else the program's own folder when it
//   already holds a Talk.txt (a copied-folder installation), else
//   $XDG_DATA_HOME/kelvoran, else ~/.local/share/kelvoran.
// A wanted place that cannot be stored in (a file in its way, a read-only
// disk) gives way to the next one in that order, so the program always opens
// and stores where it can; the caller tells the user where it could not.

#include <QString>
#include <QStringList>
#include <functional>

namespace kel {

struct DataPlaces {
    QString homeOption;  // --home, "" when not given
    QString envHome;     // $KELVORAN_HOME, "" when unset
    QString programDir;  // folder holding the program
    QString xdgDataHome; // $XDG_DATA_HOME, "" when unset (a relative one is ignored)
    QString userHome;    // $HOME

    static DataPlaces fromEnvironment(const QString &homeOption, const QString &programDir);
};

struct DataHome {
    QString folder;      // where the files are read and stored; no trailing separator
    QString wanted;      // the first place that applied
    bool usable = true;  // false: no place at all accepts a file; `folder` is `wanted`
    bool fellBack() const { return folder != wanted || !usable; }
};

struct FolderProbe {
    // True when `folder` is (or could be made) a folder that accepts a new file.
    std::function<bool(const QString &folder)> canStore;
    std::function<bool(const QString &file)> exists;
};

// The places in the order they are tried, each once:
// dataHomeCandidates({"", "", "/opt/k", "", "/home/u"}, probe without /opt/k/Talk.txt)
//   -> {"/home/u/.local/share/kelvoran"}
QStringList dataHomeCandidates(const DataPlaces &places, const FolderProbe &probe);
DataHome chooseDataHome(const DataPlaces &places, const FolderProbe &probe);

// The file system: makes a missing folder, then proves it by writing a file.
FolderProbe realFolderProbe();

// The file system, looked at only (for --where, which changes nothing): a
// folder, or the nearest existing folder above a missing one, that the user
// may write into on a disk mounted for writing.
FolderProbe lookingFolderProbe();

// "/home/u/.local/share/kelvoran" -> "~/.local/share/kelvoran" when $HOME is "/home/u".
QString shortPath(const QString &path, const QString &userHome);

} // namespace kel

#pragma once
// The two backup buttons of "その他の設定", beside its "閉じる": one backup
// of everything (FullBackup.h) written to a file the user picks, and a
// restore from one, which asks in the program's own question before it
// replaces anything and then reads the restored sentences and settings
// afresh. What came of either is said in the program's own notice.

#include "frame/Talk.h"

#include <QWidget>
#include <functional>

namespace kel {

// The file picker of the backups: `save` for a new file, else an existing
// one. A touch panel has no keyboard, so a new file is offered a name
// (`suggested`, a full path) that one touch of "Save" takes.
QString askBackupFile(QWidget *parent, bool save, const QString &title, const QString &filter,
                      const QString &suggested = {});

// Where a new backup is offered: the user's documents folder, or the home
// folder when there is none.
QString backupFolder();

class BackupPage : public QWidget {
    Q_OBJECT
public:
    explicit BackupPage(Talk &t, QWidget *parent = nullptr);

    void backUp();
    void restore();

    // Run before a backup is written: stores what the open dialogs hold and
    // returns a sentence on what could not go into the backup ("" if all).
    void setBeforeBackup(std::function<QString()> before) { before_ = std::move(before); }

signals:
    // Everything was put back: the settings on other pages are stale.
    void restored();

private:
    void tell(const QString &text);

    Talk &t_;
    std::function<QString()> before_;
};

} // namespace kel

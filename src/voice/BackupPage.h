#pragma once
// The two backup buttons of "その他の設定", beside its "閉じる": one backup
// of everything (FullBackup.h) written to a file the user picks, and a
// restore from one, which asks in the program's own question before it
// replaces anything and then reads the restored sentences and settings
// afresh. What came of either is said in the program's own notice.

#include "frame/Talk.h"

#include <QWidget>

namespace kel {

// The file picker of the backups: `save` for a new file, else an existing one.
QString askBackupFile(QWidget *parent, bool save, const QString &title, const QString &filter);

class BackupPage : public QWidget {
    Q_OBJECT
public:
    explicit BackupPage(Talk &t, QWidget *parent = nullptr);

    void backUp();
    void restore();

signals:
    // Everything was put back: the settings on other pages are stale.
    void restored();

private:
    void tell(const QString &text);

    Talk &t_;
};

} // namespace kel

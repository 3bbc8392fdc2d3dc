#pragma once
// "バックアップ", a page of "その他の設定": one backup of everything
// (FullBackup.h) written to a file the user picks, and a restore from one,
// which asks in the program's own question before it replaces anything and
// then reads the restored sentences and settings afresh.

#include "frame/Talk.h"

#include <QGroupBox>

class QLabel;

namespace kel {

// The file picker of the backups: `save` for a new file, else an existing one.
QString askBackupFile(QWidget *parent, bool save, const QString &title, const QString &filter);

class BackupPage : public QGroupBox {
    Q_OBJECT
public:
    explicit BackupPage(Talk &t, QWidget *parent = nullptr);

    void backUp();
    void restore();

signals:
    // Everything was put back: the settings on other pages are stale.
    void restored();

private:
    Talk &t_;
    QLabel *lblBackup_;
};

} // namespace kel

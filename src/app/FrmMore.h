#pragma once
// "その他の設定": the settings beyond the options dialog's own, reached from
// its "その他" button. Each capability brings its page (a group box of its
// own controls, kept in its own folder); the dialog only stacks them and
// closes. A page stores what it changes itself, in its own group of Talk.ini.

#include "frame/Talk.h"

#include <QDialog>

class QHBoxLayout;
class QVBoxLayout;

namespace kel {

class FrmMore : public QDialog {
    Q_OBJECT
public:
    explicit FrmMore(Talk &t, QWidget *parent = nullptr);
    // Adds a page below the ones already there; the dialog takes it.
    void addPage(QWidget *page);
    // Adds buttons beside "閉じる", in its row.
    void addBesideClose(QWidget *buttons);

private:
    QVBoxLayout *pages_;
    QHBoxLayout *bottom_;
};

// Builds the dialog with every capability's page and shows it modally;
// true when a backup was restored from it (the options were replaced).
bool showMore(Talk &t, QWidget *parent);

} // namespace kel

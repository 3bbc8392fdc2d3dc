#pragma once
// "その他の設定": the settings beyond the options dialog's own, reached from
// its "その他" button. Each capability brings its page (a group box of its
// own controls, kept in its own folder); the dialog only stacks them and
// closes. A page stores what it changes itself, in its own group of Talk.ini.

#include "base/Twips.h"
#include "frame/Talk.h"

#include <QDialog>
#include <functional>

class QHBoxLayout;
class QVBoxLayout;

namespace kel {

class FrmMore : public QDialog {
    Q_OBJECT
public:
    explicit FrmMore(Talk &t, QWidget *parent = nullptr);
    // Adds a page below the ones already in `column` (0 or 1); the dialog
    // takes it.
    void addPage(QWidget *page, int column);
    // Adds buttons beside "閉じる", in its row.
    void addBesideClose(QWidget *buttons);
    // Takes the options dialog's look at the scale that fits the screen of
    // `over`; call once every page is there.
    void fitOver(const QWidget *over, double mainScale);

private:
    QHBoxLayout *pages_;
    QVBoxLayout *columns_[2];
    QHBoxLayout *bottom_;
    TwipsMap map_;
};

// Said when a settings store fails: the old values would come back at the
// next start.
inline const QString kNoticeSettingsNotSaved = QStringLiteral("設定を保存できませんでした。\nディスクを確かめてください");

// Builds the dialog with every capability's page and shows it modally;
// true when a backup was restored from it (the options were replaced).
// `unconfirmed` tells whether the dialog below holds options not yet
// confirmed, which a backup taken now leaves out.
bool showMore(Talk &t, QWidget *parent, std::function<bool()> unconfirmed = {});

// Said after a backup taken while the options dialog held changes.
inline const QString kNoticeOptionsNotInBackup =
    QStringLiteral("まだ「確定」していないオプションの変更は、バックアップに入っていません。");

} // namespace kel

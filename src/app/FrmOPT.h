#pragma once
// The options dialog "オプション", opened by "設定": the touch rules, the
// voice, the suggestions, the board width, the key beep and the text size.
// "確定" stores every value and applies it at once; "キャンセル" and the
// close box change nothing.

#include "base/OptionsForm.h"
#include "base/Twips.h"
#include "frame/Talk.h"
#include "widgets/TwipsLayout.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace kel {

// Shows the dialog modally over the main window and, after "確定", brings
// the board back in hiragana with the new options.
void showOptions(Talk &t);

// Child controls carry their names as object names; the elements of a
// control array append their element number ("Option12", "cmdOK1").
class FrmOPT : public QDialog {
    Q_OBJECT
public:
    FrmOPT(Talk &t, double scale, QWidget *parent = nullptr);

    // ReadOptions, then the controls set from the copies.
    void Form_Load();
    // 0 "キャンセル", 1 "確定" (stores, refreshes the copies, sets the text
    // size, closes).
    void cmdOK_Click(int index);

    OptionsForm form() const;
    // True after "確定" when some value did not reach the store.
    bool saveFailed() const { return saveFailed_; }

private:
    void buildControls();
    void showForm(const OptionsForm &f);

    Talk &t_;
    TwipsMap map_;
    TwipsLayout layout_{map_};
    std::array<QButtonGroup *, kOptionGroups> option_{};
    QCheckBox *chkSamp_ = nullptr;
    QCheckBox *chkMaxC_ = nullptr;
    QCheckBox *chkBeep_ = nullptr;
    QCheckBox *chkMoji_ = nullptr;
    QComboBox *cmbSample_ = nullptr;
    bool saveFailed_ = false;
};

} // namespace kel

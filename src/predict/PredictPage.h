#pragma once
// "言葉の予測", a page of "その他の設定": whether candidates are offered,
// how many, whether a row of them stands above the board, and "履歴を消す"
// (after a question) for the texts read aloud. Shows the "PREDICT" group
// of the settings file and writes it back.

#include "predict/PredictSettings.h"

#include <QGroupBox>
#include <functional>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace kel {

class SettingsStore;

class PredictPage : public QGroupBox {
    Q_OBJECT
public:
    // `clear` asks the user and forgets the history; null disables the button.
    explicit PredictPage(std::function<void()> clear, QWidget *parent = nullptr);

    void load(const SettingsStore &store);
    // False when the store could not be written.
    bool save(SettingsStore &store) const;

private:
    QCheckBox *on_;
    QCheckBox *strip_;
    QSpinBox *count_;
    QPushButton *clear_;
};

} // namespace kel

#pragma once
// "話し方", a page of "その他の設定": whether "読む" speaks the text as
// morae on an even beat, how many a second, and with its pitch accent. Shows the "SPEECH" group
// of the settings file and writes it back.

#include "speech/SpeechSettings.h"

#include <QGroupBox>

class QCheckBox;
class QSpinBox;

namespace kel {

class SettingsStore;

class SpeechPage : public QGroupBox {
    Q_OBJECT
public:
    explicit SpeechPage(QWidget *parent = nullptr);

    void load(const SettingsStore &store);
    // False when the store could not be written.
    bool save(SettingsStore &store) const;

private:
    QCheckBox *spoken_;
    QSpinBox *rate_;
    QCheckBox *accent_;
};

} // namespace kel

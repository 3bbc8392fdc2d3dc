#pragma once
// The user's own voice, as a page of "その他の設定": a sound check that says
// where the sound goes, and the way into the recording studio.

#include "frame/Talk.h"

#include <QGroupBox>

class QLabel;

namespace kel {

class VoicePage : public QGroupBox {
    Q_OBJECT
public:
    explicit VoicePage(Talk &t, QWidget *parent = nullptr);

    // Plays "あいうえお" at the voice's pace and names the output device.
    void soundCheck();

private:
    Talk &t_;
    QLabel *lblOutput_;
};

} // namespace kel

#pragma once
// The recording studio: one guided sitting to record the sound set in the
// user's own voice. Pick a character (or let "次へ" pick the next one
// without a recording), press the big button and say it; the take stops by
// itself after the voice, is trimmed and levelled and played back at once;
// "保存" keeps it and moves on to the next character without one,
// "やり直し" records again, "元に戻す" lets the installed voice speak again.
// A kana mora's high and low sounds are made from its take; "高い音" or
// "低い音" records one of them in the user's own voice instead, and
// "元に戻す" then makes it again from the take.
// While a take runs the studio stays on its character. Every kept take is on disk at once, and the studio opens
// again where it stopped (the last character, in the [VOICE] group).

#include "base/Twips.h"
#include "frame/Talk.h"
#include "voice/TakeShaper.h"
#include "voice/TakeWatch.h"
#include "voice/VoiceFolder.h"

#include <QDialog>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kel {

class LevelMeter;
class SoundInput;

class FrmStudio : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRate = 44100;

    explicit FrmStudio(Talk &t, QWidget *parent = nullptr);
    ~FrmStudio() override;

    QString character() const; // the one being recorded
    bool recording() const { return phase_ == Phase::Room || phase_ == Phase::Take; }
    // Takes the options dialog's type and control sizes, at the scale that
    // fits the screen of `over`.
    void fitOver(const QWidget *over);

private:
    enum class Phase { Idle, Room, Take, Review };

    void buildControls();
    void fillList();
    void fillInputs();
    void select(const QString &ch);
    void showState();

    void record();         // the big button
    void startCapture();
    void stopCapture();
    void onAudio(const QByteArray &bytes);
    void finishTake();
    void save();
    void restore();
    void next();
    void readTestLine();
    void exportBackup();
    void importBackup();
    void say(const QString &text);

    // The height the next take is said at (StudioHeights.cpp): 0 as the
    // character's own sound, +1 its high sound, -1 its low one.
    void buildHeightChoice(QGridLayout *grid, int row);
    int chosenStep() const;
    void chooseStep(int step);
    void showHeightChoice();
    QString takePrompt() const;

    Talk &t_;
    VoiceFolder folder_;
    QTemporaryDir preview_;
    Phase phase_ = Phase::Idle;
    std::optional<RoomNoise> room_;
    std::vector<float> roomSamples_;
    std::optional<TakeWatch> watch_;
    ShapedTake shaped_;
    std::vector<float> raw_;
    QByteArray pending_; // an odd byte between two reads
    QString prompted_;   // the character the take was asked for
    int promptedStep_ = 0; // and its height

    std::unique_ptr<SoundInput> input_;
    bool capturing_ = false;

    QTreeWidget *lstSounds_;
    QLabel *lblProgress_, *lblCharacter_, *lblRoom_, *lblTake_;
    QComboBox *cmbInput_;
    QPushButton *cmdRecord_, *cmdSave_, *cmdRetry_, *cmdNext_, *cmdRestore_, *cmdTest_, *cmdExport_, *cmdImport_;
    QList<QRadioButton *> optHeights_; // its own, high, low
    QString choiceFor_;                 // the character they were chosen for
    LevelMeter *meter_;
    QLineEdit *txtTest_;
    TwipsMap map_;
};

// Shows the studio modally over `parent`.
void showStudio(Talk &t, QWidget *parent);
// Sizes and places the studio on its screen: its design size where there
// is room, else as much as the screen has (800 x 600 at least).
void fitStudio(QWidget &studio);

} // namespace kel

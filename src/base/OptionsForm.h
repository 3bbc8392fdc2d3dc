#pragma once
// What the options dialog shows, as plain values, and how it maps to and
// from the stored options. The dialog itself (FrmOPT) only moves these
// values in and out of its controls.
//
// Loading:  Options {"1","0","3","1","0","1"}, MaxC 14, SampleChars 5
//        -> choice {1, 0, 3}, beep, samp, maxC checked, moji clear, sampleIndex 4 ("５")
// "確定":   the same form -> OPT1=1 OPT2=0 OPT3=3 Samp=1 Sample=5 Beep=1 Moji=0 gMaxC=14

#include "base/AppState.h"

#include <QList>
#include <QString>
#include <array>
#include <utility>

namespace kel {

// The dialog's client area.
inline constexpr int kOptionsWidthTwips = 7140;
inline constexpr int kOptionsHeightTwips = 8040;

// The three exclusive groups Option1, Option2, Option3 and how many
// buttons each has; a button's element number is the stored value.
inline constexpr int kOptionGroups = 3;
inline constexpr std::array<int, kOptionGroups> kGroupButtons{4, 2, 4};
inline constexpr int kNoChoice = -1;

// The items of cmbSample, "１".."５": position i stands for i + 1 characters.
inline constexpr std::array<const char *, 5> kSampleItems{"１", "２", "３", "４", "５"};

struct OptionsForm {
    std::array<int, kOptionGroups> choice{kNoChoice, kNoChoice, kNoChoice};
    bool samp = false;   // chkSamp
    bool beep = false;   // chkBeep
    bool moji = false;   // chkMoji
    bool maxC = false;   // chkMaxC: the 15-column board
    int sampleIndex = kNoChoice;   // position in cmbSample

    bool operator==(const OptionsForm &) const = default;
};

// The controls as the copies set them. A stored value that no control can
// show (OPT1 "7") leaves its group without a choice; each check box shows
// what the program does with its value, so "Beep" "2" (no beep) is clear.
OptionsForm formFromCopies(const AppState &st);

using StoredValue = std::pair<QString, QString>;   // key, text

// What "確定" stores, in the order it is saved. A group without a choice
// stores nothing; an empty cmbSample stores "0".
QList<StoredValue> valuesToStore(const OptionsForm &form);

// The options dialog grows with the main window, but never beyond the
// screen: `availableHeightPx` is the screen's free height, from which room
// for the dialog's title bar is kept. It shrinks with a small main window,
// but a small screen alone does not take it below the design size.
double optionsDialogScale(double mainScale, int availableHeightPx);

} // namespace kel

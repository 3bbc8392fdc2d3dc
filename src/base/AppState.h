#pragma once
// The state every part of the program shares: the stored option copies,
// the list highlight, the transfer values between handlers and the flags
// that long loops watch. One instance lives in the main window and each
// subsystem receives a reference to it.

#include "base/Options.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

// Positions in AppState::Options, in the order the store is read.
enum Opt { OPT1 = 0, OPT2 = 1, OPT3 = 2, Beep = 3, Moji = 4, Samp = 5 };

struct AppState {
    // Folder holding the sound set, Talk.txt and day.txt; no trailing separator.
    QString AppPath;
    // The installed default sound set, tried when AppPath holds no recording
    // of a character; "" for none.
    QString SoundSetPath;

    // Stored text of "OPT1", "OPT2", "OPT3", "Beep", "Moji", "Samp", unchanged.
    QStringList Options{"0", "0", "0", "0", "0", "1"};
    int MaxC = 9;          // index of the board's last column: 9 or 14
    int SampleChars = 2;   // typed characters forming a suggestion key: 1..5

    int ListRow = 0;       // highlighted row of the showing list
    QString CellText;      // text named by the last first touch (and list scratch)
    std::optional<QStringList> Samples;  // example sentences in file order
    int DiaryRow = 0;      // row of the diary list open in the text box
    bool StopRead = false; // ends a reading in progress
    bool AskAnswer = false;
    QString Board2Text;    // text taken last on the enlarged grid

    // Window-level state of the main window.
    int BoardRow = 0, BoardCol = 0;
    int Board2Row = 0, Board2Col = 0;
    bool ButtonHeld = false;

    // Seconds per character when reading aloud.
    double ReadingPace = 0.8;
    // Speech in progress (a voiced pick or a reading) and how many have
    // ended: what the switch scanning waits for before it goes on.
    int Speaking = 0;
    int SpeechEnded = 0;

    // Set when the main window goes away; every waiting loop gives up.
    bool Quitting = false;

    QString option(Opt o) const { return Options.value(o); }
    // "OPT1", "OPT2", "OPT3" and "Samp" as the handlers compare them; -1 for
    // a text that is no number (ReadOptions lets none through).
    double number(Opt o) const { return optionNumber(option(o)).value_or(-1); }
    bool beepOn() const { return option(Beep) == QLatin1String("1"); }
};

} // namespace kel

#pragma once
// The character board on the main window: rebuilding it for a mode, what a
// press and a release on a cell do, and the enlarged 3 x 3 selection screen.

#include "frame/Talk.h"

namespace kel {

class Composer;
class Speech;

class Board {
public:
    Board(Talk &t, Composer &compose, Speech &speech) : t_(t), compose_(compose), speech_(speech) {}

    // Rebuilds every cell for the mode after the caption of cmdKey.
    void SetBoard();
    void cmdKey_Click() { SetBoard(); }

    void grdBoard_MouseDown();
    void grdBoard_Click();

    // Fills the enlarged grid around board cell (row, col); column first.
    void PickBoardCell(int col, int row);
    void grdBoard2_MouseDown();
    void grdBoard2_Click();
    // A candidate taken from the row above the board: entered as a touched
    // character is, the enlarged screen never involved.
    void takeFromStrip(const QString &text) { enterCandidate(text, false); }

private:
    void firstTouch(const QString &text);
    void enter(const QString &text);
    void openEnlarged(const QString &text);
    void enterFromEnlarged();
    // The candidates' row of the enlarged screen, for the text in front of
    // the caret followed by the touched cell; "スペース" where there is none.
    void fillCandidates(const QString &cell);
    void takeCandidate(const QString &text) { enterCandidate(text, true); }
    void enterCandidate(const QString &text, bool fromEnlarged);
    // Focus back to the text box and, when allowed and nothing is selected,
    // the block restored with Shift+Right.
    void restoreBlock(bool allowed);

    Talk &t_;
    Composer &compose_;
    Speech &speech_;
};

} // namespace kel

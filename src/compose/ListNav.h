#pragma once
// Moving through the list the current screen names ("△", "▽", a touch on a
// row) and handing its highlighted row to the list's owner ("決定").

#include "frame/Talk.h"

namespace kel {

class Composer;
class FlexGrid;

class ListNav {
public:
    ListNav(Talk &t, Composer &compose) : t_(t), compose_(compose) {}

    void cmdUp_MouseDown();
    void cmdUp_MouseUp();
    void cmdDown_MouseDown();
    void cmdDown_MouseUp();
    // One step at once, then one every 0.23 s while the button is held.
    // Up: the list scrolls with the highlight until its top row reaches the
    // list's limit. Down: the highlight moves to the third visible row and
    // then stays there while the list scrolls under it.
    void MoveUp();
    void MoveDown();
    // A touch on a row of `grid` moves the highlight there; it takes nothing.
    void list_Click(FlexGrid *grid);
    void cmdDec_Click();

private:
    void repeatWhileHeld(int step);
    // Moves the highlight one row; false at the first or last row.
    bool stepHighlight(FlexGrid &grid, int step);
    Talk &t_;
    Composer &compose_;
};

} // namespace kel

#pragma once
// Moving through the showing list ("△", "▽", a touch on a row) and taking
// its highlighted row ("決定").

#include "app/Talk.h"

namespace kel {

class FlexGrid;

class ListNav {
public:
    explicit ListNav(Talk &t) : t_(t) {}

    void cmdUp_MouseDown();
    void cmdUp_MouseUp();
    void cmdDown_MouseDown();
    void cmdDown_MouseUp();
    void MoveUp();
    void MoveDown();
    void list_Click(FlexGrid *grid);
    void cmdDec_Click();

private:
    Talk &t_;
};

} // namespace kel

#pragma once
// Which panel is in front. The lists and the enlarged screen lie over the
// board, and the three bottom panels share one place; whichever of them was
// shown last comes to the front, so the screen a handler has just opened is
// the one a touch reaches. The text panel stays in front of them all: wide,
// it covers the board and the lists down to the bottom band.

#include "frame/Controls.h"

namespace kel {

// Keeps the stacking from now on; call once the controls exist.
void keepStacking(Controls &ui);

} // namespace kel

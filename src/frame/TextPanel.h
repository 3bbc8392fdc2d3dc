#pragma once
// The two buttons of the text panel and the enlarged screen that every
// screen shares: they ask the screens for their event.

#include "frame/Talk.h"

namespace kel {

// "広げる"/"狭める".
void cmdWide_Click(Talk &t);
// "戻る" on the enlarged screen.
void cmdEnd2_Click(Talk &t);

} // namespace kel

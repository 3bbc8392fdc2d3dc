#include "compose/ListNav.h"

namespace kel {

void ListNav::cmdUp_MouseDown() {}
void ListNav::cmdUp_MouseUp() {}
void ListNav::cmdDown_MouseDown() {}
void ListNav::cmdDown_MouseUp() {}
void ListNav::MoveUp() {}
void ListNav::MoveDown() {}
void ListNav::list_Click(FlexGrid *) {}
void ListNav::cmdDec_Click() {}

} // namespace kel

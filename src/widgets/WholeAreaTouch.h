#pragma once
// A check box or choice laid out wider than its caption takes a touch
// anywhere on its area, not only on its mark and caption: right of the
// caption is where a finger lands as readily, and where the switch scan
// touches (at the area's centre).

class QWidget;

namespace kel {

// For every check box and choice inside `root`, now there.
void takeTouchesOnWholeArea(QWidget *root);

} // namespace kel

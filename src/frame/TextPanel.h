#pragma once
// The two sizes of the text panel at the top of the window. Narrow: panel
// 1635, text box 1455 twips. Wide: the window's outer height minus 2230 and
// minus 2380, which uncovers the copy and paste buttons.

#include "frame/Talk.h"

namespace kel {

inline constexpr int kNarrowPanelTwips = 1635;
inline constexpr int kNarrowTextTwips = 1455;
inline constexpr int kWideThresholdTwips = 2300;

bool textPanelIsWide(const Talk &t);
// Narrow state with the caption "広げる".
void setTextPanelNarrow(Talk &t);
// Wide heights; `caption` also sets "狭める" (a reading widens without it).
void setTextPanelWide(Talk &t, bool caption);

// "広げる"/"狭める".
void cmdWide_Click(Talk &t);
// "戻る" on the enlarged screen.
void cmdEnd2_Click(Talk &t);

} // namespace kel

#pragma once
// Colours shared by the board, the lists and the text box.

#include <QColor>

namespace kel {

// The highlight of a list row and of a pressed board cell; also the diary
// entry's text box.
inline const QColor kHighlightGreen(128, 255, 128);
inline const QColor kCellWhite(255, 255, 255);
// The desktop colour a released board cell turns to.
inline constexpr QRgb kDesktopColour = 0xff3a6ea5;

} // namespace kel

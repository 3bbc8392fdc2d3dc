#pragma once
// The options dialog's look, shared by every dialog of settings beside it
// ("その他", the recording studio): its type (14.25 pt bold, in pixels of the
// dialog's scale, so the display's DPI cannot shrink it), its panels with
// the caption on their line, and marks, drop-downs, number boxes and
// buttons sized like its own controls, so that a finger hits them as
// easily as on the options dialog.

#include "base/Twips.h"

#include <QRgb>
#include <QString>
#include <functional>

class QWidget;

namespace kel {

inline constexpr double kDialogPoints = 14.25; // the options' captions
inline constexpr double kPanelPoints = 15.75;         // the panels' captions

// The options dialog's own style sheet: panels with their caption on the
// line, round and square marks of 210 twips.
QString panelAndMarkStyle(const TwipsMap &map, QRgb panelBack);

// That, with drop-downs, number boxes, text fields and buttons at least
// 540 twips high (more than the options dialog's drop-down, a little less
// than its buttons) and number boxes with their arrows beside the number,
// "－" left and "＋" right, each at least `fingertipPx` wide and high, for
// dialogs laid out by Qt's layouts rather than by design rectangles.
QString dialogLookStyle(const TwipsMap &map, QRgb panelBack, int fingertipPx = 0);


// Font, background and style sheet of `dialog` and of every widget in it,
// at `map`'s scale.
void applyDialogLook(QWidget *dialog, const TwipsMap &map, QRgb back);

// The scale of a settings dialog opened over `over`: the options dialog's
// (it grows with the main window of scale `mainScale`), made smaller where
// the dialog, laid out at that scale, would not fit the free part of the
// screen, but never below the design size. Sets `map` and applies the look;
// `ownFonts` then sets the fonts of the dialog's own larger captions.
void fitDialogLook(QWidget *dialog, const QWidget *over, double mainScale, TwipsMap &map, QRgb back,
                   const std::function<void()> &ownFonts = {});

} // namespace kel

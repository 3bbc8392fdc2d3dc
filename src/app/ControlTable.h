#pragma once
// The main window's controls as data: kind, container, caption, design
// rectangle in twips, colours and fonts, and whether they show at start.

#include "frame/Controls.h"
#include "widgets/Colours.h"
#include "widgets/TwipsLayout.h"

#include <QColor>

namespace kel {

enum class Kind { Panel, Button, Grid, BoardGrid, TextBox, Label };

struct ControlDef {
    const char *name;
    Kind kind;
    const char *inside;        // nullptr: the window
    const char *caption;
    int left, top, width, height;
    QRgb back;                 // 0: none of its own
    const char *family;        // nullptr: the proportional gothic
    double points;
    bool bold;
    bool visible;
};

extern const ControlDef kControlTable[];
extern const int kControlCount;

inline constexpr QRgb kWindowBack = 0xff8080ff;

// Creates every control inside `ui.canvas` and registers it with `layout`.
void buildControls(Controls &ui, TwipsLayout &layout);

} // namespace kel

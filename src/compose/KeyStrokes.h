#pragma once
// The editing actions are written as keystroke strings, the way the text box
// would receive them from a keyboard: "{LEFT}", "{BS}", "+{RIGHT}" ... This
// turns such a string into the key presses the widget code replays on the
// text box, so the strings stay the single description of each action.

#include <QList>
#include <QStringView>
#include <qnamespace.h>

namespace kel {

// One key press: a Qt::Key value and whether Shift is held with it.
struct KeyStroke {
    int key = 0;
    bool shift = false;

    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Parses a keystroke string. Key names stand in braces and are matched
// without regard to case: {RIGHT} {LEFT} {UP} {DOWN} and {BS} (also spelt
// {BACKSPACE} or {BKSP}). A "+" holds Shift for the key that follows it.
// Anything else — an unknown name, a bare character, a brace left open — is
// skipped, and a "+" before it is used up by it.
//   "+{RIGHT}"          -> [Right+Shift]
//   "{LEFT}{BS}+{RIGHT}" -> [Left, Backspace, Right+Shift]
//   "{UP}{RIGHT}+{LEFT}" -> [Up, Right, Left+Shift]
//   "+{F1}{DOWN}"       -> [Down]                 (unknown key, Shift used up)
//   "{LEFT"             -> []
QList<KeyStroke> parseKeyStrokes(QStringView keys);

} // namespace kel

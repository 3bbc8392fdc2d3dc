#pragma once
// Writing a new text into the composed-text box without laying the whole
// text out again: only the stretch that differs from the current text is
// replaced, so a pick into a very long text (or a paste after it) costs the
// size of the change, not of the text.

#include <QString>

class QPlainTextEdit;

namespace kel {

// Makes the box's text `after`, given that it is `before` now, by replacing
// the one stretch between their common beginning and common end (an edit in
// two places rewrites everything between them). The caret and selection are
// left to the caller to set.
void replaceBoxText(QPlainTextEdit &box, const QString &before, const QString &after);

// Inserts `text` at `position` (clamped into the text) and appends `tail`,
// as one change: the box lays the text out once. The caret and selection are
// left to the caller to set.
void insertBoxText(QPlainTextEdit &box, qsizetype position, const QString &text,
                   const QString &tail = {});

// Appends `tail` to the box's text, keeping the caret and selection as they are.
void appendBoxText(QPlainTextEdit &box, const QString &tail);

} // namespace kel

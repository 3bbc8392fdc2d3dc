#pragma once
// Makes the cursor keys and back-space of the composed-text box act as they
// do in a Windows multi-line edit box, whoever sends them (the editing
// buttons post them as key events; a keyboard, where one is attached, sends
// the same ones). The editing actions are written as key sequences and rely
// on these exact rules:
//   - a plain Left or Right with a selection collapses it, Left to its
//     start and Right to its end, without moving further;
//   - without a selection they move the caret one character;
//   - Shift with a cursor key moves the caret end of the selection and keeps
//     its anchor, so Shift+Right from the caret selects one character;
//   - Up and Down start from the caret end of the selection, keep the
//     horizontal position and collapse the selection there; on the first or
//     last line the caret stays where it is (the selection still collapses);
//   - Back-space deletes the selection, or the character before the caret.
// A surrogate pair counts as one character and is never split.

#include <QObject>

class QPlainTextEdit;

namespace kel {

class EditBoxKeys : public QObject {
    Q_OBJECT
public:
    // Takes over those keys on `box`; the filter lives as long as the box.
    static void install(QPlainTextEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit EditBoxKeys(QPlainTextEdit *box);
};

} // namespace kel

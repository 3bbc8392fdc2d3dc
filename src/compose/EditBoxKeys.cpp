#include "compose/EditBoxKeys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace kel {

namespace {

QChar charAt(const QTextDocument &doc, int pos)
{
    return doc.characterAt(pos);
}

// One character left or right of `pos`, a surrogate pair taken whole.
int stepLeft(const QTextDocument &doc, int pos)
{
    if (pos <= 0)
        return 0;
    if (pos >= 2 && charAt(doc, pos - 1).isLowSurrogate() && charAt(doc, pos - 2).isHighSurrogate())
        return pos - 2;
    return pos - 1;
}

int stepRight(const QTextDocument &doc, int pos, int end)
{
    if (pos >= end)
        return end;
    if (pos + 1 < end && charAt(doc, pos).isHighSurrogate() && charAt(doc, pos + 1).isLowSurrogate())
        return pos + 2;
    return pos + 1;
}

// The last position a caret can take: the document's own closing paragraph
// separator does not count.
int endPosition(const QTextDocument &doc)
{
    return std::max(0, doc.characterCount() - 1);
}

// The position one visual line up or down from `pos` at the same horizontal
// place, or `pos` itself on the first or last line.
int verticalStep(QTextDocument *doc, int pos, QTextCursor::MoveOperation op)
{
    QTextCursor c(doc);
    c.setPosition(pos);
    return c.movePosition(op) ? c.position() : pos;
}

} // namespace

void EditBoxKeys::install(QPlainTextEdit *box)
{
    new EditBoxKeys(box);
}

EditBoxKeys::EditBoxKeys(QPlainTextEdit *box) : QObject(box)
{
    box->installEventFilter(this);
}

bool EditBoxKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *box = static_cast<QPlainTextEdit *>(watched);
    auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    const bool shift = mods == Qt::ShiftModifier;

    QTextDocument &doc = *box->document();
    QTextCursor c = box->textCursor();
    const int anchor = c.anchor();
    const int caret = c.position();
    const int end = endPosition(doc);
    const bool selected = anchor != caret;
    int newCaret = caret;

    switch (key->key()) {
    case Qt::Key_Left:
        newCaret = (selected && !shift) ? std::min(anchor, caret) : stepLeft(doc, caret);
        break;
    case Qt::Key_Right:
        newCaret = (selected && !shift) ? std::max(anchor, caret) : stepRight(doc, caret, end);
        break;
    case Qt::Key_Up:
        newCaret = verticalStep(&doc, caret, QTextCursor::Up);
        break;
    case Qt::Key_Down:
        newCaret = verticalStep(&doc, caret, QTextCursor::Down);
        break;
    case Qt::Key_Backspace:
        if (box->isReadOnly())
            return true;
        if (!selected) {
            if (caret == 0)
                return true;
            c.setPosition(stepLeft(doc, caret));
            c.setPosition(caret, QTextCursor::KeepAnchor);
        }
        c.removeSelectedText();
        box->setTextCursor(c);
        return true;
    default:
        return false;
    }

    c.setPosition(shift ? anchor : newCaret);
    c.setPosition(newCaret, QTextCursor::KeepAnchor);
    box->setTextCursor(c);
    return true;
}

} // namespace kel

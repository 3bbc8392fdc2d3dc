#include "widgets/TalkBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>
#include <algorithm>

namespace kel {

TalkBox::TalkBox(QWidget *parent) : QPlainTextEdit(parent)
{
    // The block must stay visible while a touch button has the pointer.
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        p.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    setPalette(p);
    setBackColor(Qt::white);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TalkBox::setText(const QString &t)
{
    setPlainText(t);
}

qsizetype TalkBox::selStart() const
{
    return textCursor().selectionStart();
}

qsizetype TalkBox::selLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TalkBox::setSelStart(qsizetype pos)
{
    QTextCursor c = textCursor();
    c.setPosition(int(std::clamp<qsizetype>(pos, 0, toPlainText().size())));
    setTextCursor(c);
}

void TalkBox::setSelLength(qsizetype len)
{
    QTextCursor c = textCursor();
    const qsizetype start = c.selectionStart();
    const qsizetype end = std::clamp<qsizetype>(start + len, start, toPlainText().size());
    c.setPosition(int(start));
    c.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString TalkBox::fitting(QString text) const
{
    const qsizetype room = qMax<qsizetype>(0, kMaxLength - (document()->characterCount() - 1) + selLength());
    if (text.size() > room) {
        text.truncate(room);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

void TalkBox::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    // Only plain text is taken, and only as much as fits; what is cut off
    // stays where it came from.
    const QString text = fitting(source->text());
    if (!text.isEmpty())
        textCursor().insertText(text);
    ensureCursorVisible();
}

void TalkBox::inputMethodEvent(QInputMethodEvent *e)
{
    const QString fit = fitting(e->commitString());
    if (fit.size() == e->commitString().size()) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent cut(e->preeditString(), e->attributes());
    cut.setCommitString(fit, e->replacementStart(), e->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
    e->accept();
}

void TalkBox::keyPressEvent(QKeyEvent *e)
{
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint()
                           && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable && fitting(typed).size() < typed.size()) {
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TalkBox::setBackColor(const QColor &c)
{
    back_ = c;
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, c);
    setPalette(p);
}

} // namespace kel

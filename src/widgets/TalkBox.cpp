#include "widgets/TalkBox.h"

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

void TalkBox::setBackColor(const QColor &c)
{
    back_ = c;
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, c);
    setPalette(p);
}

} // namespace kel

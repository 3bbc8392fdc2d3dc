#include "compose/BoxText.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace kel {

void replaceBoxText(QPlainTextEdit &box, const QString &before, const QString &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // A surrogate pair must not be cut between its halves.
    if (prefix > 0 && before[prefix - 1].isHighSurrogate())
        --prefix;
    if (suffix > 0 && before[before.size() - suffix].isLowSurrogate())
        --suffix;

    QTextCursor c(box.document());
    c.setPosition(int(prefix));
    c.setPosition(int(before.size() - suffix), QTextCursor::KeepAnchor);
    c.insertText(after.mid(prefix, after.size() - prefix - suffix));
}

void insertBoxText(QPlainTextEdit &box, qsizetype position, const QString &text,
                   const QString &tail)
{
    QTextCursor c(box.document());
    c.beginEditBlock();
    if (!text.isEmpty()) {
        c.setPosition(int(std::clamp<qsizetype>(position, 0, box.document()->characterCount() - 1)));
        c.insertText(text);
    }
    if (!tail.isEmpty()) {
        c.movePosition(QTextCursor::End);
        c.insertText(tail);
    }
    c.endEditBlock();
}

void appendBoxText(QPlainTextEdit &box, const QString &tail)
{
    if (tail.isEmpty())
        return;
    const QTextCursor kept = box.textCursor();
    const int anchor = kept.anchor();
    const int position = kept.position();
    QTextCursor c(box.document());
    c.movePosition(QTextCursor::End);
    c.insertText(tail);
    QTextCursor restored(box.document());
    restored.setPosition(anchor);
    restored.setPosition(position, QTextCursor::KeepAnchor);
    box.setTextCursor(restored);
}

} // namespace kel

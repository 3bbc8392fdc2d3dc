#pragma once
// The composed-text box. Its caret position is the start of the selection
// (a one-character selection, the "block", shows where the caret is on a
// touch screen), which differs from the toolkit's cursor position whenever
// the selection was made leftwards.

#include <QColor>
#include <QPlainTextEdit>

namespace kel {

class TalkBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TalkBox(QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    void setText(const QString &t);

    qsizetype selStart() const;
    qsizetype selLength() const;
    // Moves the caret and clears the selection.
    void setSelStart(qsizetype pos);
    // Selects `len` characters from the caret.
    void setSelLength(qsizetype len);

    QColor backColor() const { return back_; }
    void setBackColor(const QColor &c);

private:
    QColor back_ = Qt::white;
};

} // namespace kel

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
    // The longest text the box takes, however the text comes: "貼る", a
    // keyboard paste, drag and drop, an input method or typing. A message
    // is never near it (50,000 characters take eleven hours to read aloud),
    // but megabytes in one line would freeze the window for minutes, and
    // even 200,000 in one line make each later touch wait a third of a second.
    static constexpr qsizetype kMaxLength = 50'000;

    explicit TalkBox(QWidget *parent = nullptr);

    // Cuts `text` so that, put in place of the selection, the box stays
    // within kMaxLength (never between the halves of a surrogate pair).
    QString fitting(QString text) const;

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

protected:
    void changeEvent(QEvent *e) override;
    void insertFromMimeData(const QMimeData *source) override; // paste, drop
    void inputMethodEvent(QInputMethodEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void keepBold();
    void showWholeLines();

    QColor back_ = Qt::white;
    class BoldOutline *outline_ = nullptr;
};

} // namespace kel

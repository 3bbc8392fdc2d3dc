#include "widgets/TalkBox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QtMath>
#include <algorithm>
#include <utility>

namespace kel {

// The IPA fonts have no bold face, so Qt thickens the glyphs itself; but
// from 65 pixels on (34 pt full screen at 1280 x 800 is 67 px) its FreeType
// engine draws glyphs from their outlines and thickens them no more. There
// every line gets an outline as wide as Qt's own thickening (a 24th of the
// size), in the text's colour, and in the selection's text colour on the block.
class BoldOutline final : public QSyntaxHighlighter {
public:
    static constexpr int kLargestThickenedPx = 64;

    explicit BoldOutline(TalkBox *box) : QSyntaxHighlighter(box->document()), box_(box)
    {
        QObject::connect(box, &QPlainTextEdit::selectionChanged, this, [this] { followSelection(); });
    }

    // True when the outline changed.
    bool setLook(const QFont &font, const QPalette &palette)
    {
        const double width = font.bold() && font.pixelSize() > kLargestThickenedPx ? font.pixelSize() / 24.0 : 0.0;
        const QColor text = palette.color(QPalette::Text), selected = palette.color(QPalette::HighlightedText);
        if (width == width_ && text == text_ && selected == selected_)
            return false;
        width_ = width;
        text_ = text;
        selected_ = selected;
        return true;
    }

protected:
    void highlightBlock(const QString &text) override
    {
        if (width_ <= 0 || text.isEmpty())
            return;
        const auto outline = [this](const QColor &c) {
            QTextCharFormat f;
            f.setTextOutline(QPen(c, width_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            return f;
        };
        setFormat(0, int(text.size()), outline(text_));
        const int at = currentBlock().position();
        const QTextCursor c = box_->textCursor();
        const int from = std::max(c.selectionStart() - at, 0), to = std::min<int>(c.selectionEnd() - at, int(text.size()));
        if (from < to)
            setFormat(from, to - from, outline(selected_));
    }

private:
    // Only the lines the selection left and entered are drawn again.
    void followSelection()
    {
        const QTextCursor c = box_->textCursor();
        const std::pair<int, int> now{c.selectionStart(), c.selectionEnd()};
        if (width_ <= 0 || now == shown_ || redrawing_)
            return;
        const QList<int> ends{shown_.first, shown_.second, now.first, now.second};
        shown_ = now;
        // Drawing a line again tells the box its text changed, which may
        // report the selection again.
        redrawing_ = true;
        for (const int pos : ends)
            if (const QTextBlock b = document()->findBlock(pos); b.isValid())
                rehighlightBlock(b);
        redrawing_ = false;
    }

    TalkBox *box_;
    double width_ = 0;
    QColor text_, selected_;
    std::pair<int, int> shown_{0, 0};
    bool redrawing_ = false;
};

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
    outline_ = new BoldOutline(this);
    keepBold();
}

void TalkBox::changeEvent(QEvent *e)
{
    QPlainTextEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange)
        keepBold();
    if (e->type() == QEvent::FontChange)
        showWholeLines();
}

void TalkBox::resizeEvent(QResizeEvent *e)
{
    QPlainTextEdit::resizeEvent(e);
    showWholeLines();
}

// The narrow box holds one line of the large type and a part of the next,
// which would show cut in half (and two lines of the normal type but for
// the margin above them): the lines start at the top edge, and the box ends
// below its last whole line, the rest left blank in its own colour.
void TalkBox::showWholeLines()
{
    constexpr int kSidePx = 4;
    document()->setDocumentMargin(0);
    const int line = qCeil(QFontMetricsF(font()).height());
    const int room = height() - 2 * frameWidth();
    const int blank = line > 0 && room > line ? room % line : 0;
    const QMargins wanted(kSidePx, 0, 0, blank);
    if (viewportMargins() != wanted)
        setViewportMargins(wanted);
}

void TalkBox::keepBold()
{
    if (outline_ && outline_->setLook(font(), palette()))
        outline_->rehighlight();
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
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, c);
        p.setColor(group, QPalette::Window, c); // the blank below the last whole line
    }
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace kel

#include "widgets/ColorButton.h"

#include <QPainter>
#include <qdrawutil.h>

namespace kel {

ColorButton::ColorButton(const QString &caption, const QColor &back, QWidget *parent)
    : QPushButton(caption, parent)
{
    setFocusPolicy(Qt::NoFocus);
    setBackColor(back);
}

void ColorButton::setBackColor(const QColor &c)
{
    back_ = c;
    update();
}

namespace {

// Inside the 2 px edge.
QRect captionRoom(const QRect &r)
{
    return r.adjusted(2, 2, -2, -2);
}

} // namespace

QFont ColorButton::captionFont() const
{
    const QRect room = captionRoom(rect());
    const QString key = QStringLiteral("%1|%2x%3|").arg(font().key()).arg(room.width()).arg(room.height()) + text();
    if (key == fittedFor_)
        return fitted_;
    fittedFor_ = key;
    fitted_ = font();
    // Measured to the ink: a line's box may reach past the edge, its letters not.
    for (int px = fitted_.pixelSize(); px > 6; fitted_.setPixelSize(--px)) {
        const QFontMetrics m(fitted_);
        const QRect wrapped = m.boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, text());
        const int lines = qMax(1, qRound(double(wrapped.height()) / m.height()));
        if (wrapped.width() <= room.width() && (lines - 1) * m.lineSpacing() + m.tightBoundingRect(text()).height() <= room.height())
            break;
    }
    return fitted_;
}

// Painted here rather than through a style sheet: sheets on forty buttons
// cost more start-up time than the whole rest of the window.
void ColorButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, back_);
    qDrawShadePanel(&p, r, palette(), isDown(), 2);
    p.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint();
    p.setFont(captionFont());
    p.drawText(captionRoom(r).translated(shift), Qt::AlignCenter | Qt::TextWordWrap, text());
}

} // namespace kel

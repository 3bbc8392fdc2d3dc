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
    p.drawText(r.adjusted(2, 2, -2, -2).translated(shift), Qt::AlignCenter | Qt::TextWordWrap, text());
}

} // namespace kel

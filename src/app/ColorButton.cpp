#include "app/ColorButton.h"

#include <QPainter>
#include <QStyleOptionButton>

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
    setStyleSheet(QStringLiteral("QPushButton{background-color:%1;color:black;"
                                 "border:2px outset %2;padding:0px;}"
                                 "QPushButton:disabled{color:#808080;}")
                      .arg(c.name(), c.darker(140).name()));
}

void ColorButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    style()->drawControl(QStyle::CE_PushButton, &opt, &p, this);
    p.setPen(isEnabled() ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    p.drawText(rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
}

} // namespace kel

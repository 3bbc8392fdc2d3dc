#include "access/AccessOverlay.h"

#include "widgets/ColorButton.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPaintEvent>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

namespace kel {

namespace {

// Where the letters of a caption lie in `w`, as its style places them.
QRect lettersOf(QWidget *w)
{
    if (!w->isVisible())
        return {};
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text().isEmpty() ? QRect() : l->contentsRect();
    if (auto *c = qobject_cast<ColorButton *>(w))
        return QFontMetrics(c->captionFont()).boundingRect(c->rect().adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextWordWrap, c->text());
    if (auto *b = qobject_cast<QAbstractButton *>(w); b && !b->text().isEmpty()) {
        QStyleOptionButton o;
        o.initFrom(b);
        if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b)) {
            const auto part = qobject_cast<QCheckBox *>(b) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            return b->style()->itemTextRect(b->fontMetrics(), b->style()->subElementRect(part, &o, b), Qt::AlignLeft | Qt::AlignVCenter, true, b->text());
        }
        return b->style()->itemTextRect(b->fontMetrics(), b->rect(), Qt::AlignCenter, true, b->text());
    }
    if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
        QStyleOptionGroupBox o;
        o.initFrom(g);
        o.text = g->title();
        o.subControls = QStyle::SC_GroupBoxLabel;
        return g->style()->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, g);
    }
    return {};
}

// The frame lies outside its target, and a dialog's rows lie close: where
// it crosses a neighbour's caption it gives way, so that it hides no text.
QRegion captionsIn(QWidget *window)
{
    QRegion out;
    for (QWidget *w : window->findChildren<QWidget *>())
        if (const QRect r = lettersOf(w); !r.isEmpty() && w->window() == window)
            out += QRect(w->mapTo(window, r.topLeft()), r.size());
    return out;
}

} // namespace

// Orange: none of the program's screens, cells or buttons is orange.
const QColor AccessOverlay::kFrameColour(255, 128, 0);

AccessOverlay::AccessOverlay(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("accessOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
    raise();
    show();
}

bool AccessOverlay::eventFilter(QObject *o, QEvent *e)
{
    if (o == parent() && e->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    if (o == parent() && e->type() == QEvent::ChildAdded)
        raise();
    return false;
}

int AccessOverlay::thickness() const
{
    // 6 pixels on the design-size window of 786 pixels' width, in proportion on others.
    return std::max(3, width() * 6 / 786);
}

// The frame lies around the target, so that it never hides the text it
// frames (a one-line choice fills its own area); only where the target
// meets the window's edge does it fall on the target's own border.
QRect AccessOverlay::outerOf(const QRect &r) const
{
    const int m = thickness() + 6;
    return r.adjusted(-m, -m, m, m) & rect();
}

// Only the frame's band (and the up mark): the middle shows through and
// needs no repaint.
QRegion AccessOverlay::frameArea(const QRect &r, bool up) const
{
    const int m = thickness() + 6;
    const QRect outer = outerOf(r);
    QRegion band = QRegion(outer).subtracted(QRegion(r.adjusted(m, m, -m, -m)));
    if (up)
        band += QRect(outer.topLeft(), QSize(thickness() * 9 + m, thickness() * 8 + m)) & outer;
    return band;
}

QRect AccessOverlay::ringArea(const QRect &r) const
{
    const int d = std::min({r.width(), r.height(), thickness() * 12});
    return QRect(0, 0, d, d).translated(r.center() - QPoint(d / 2, d / 2));
}

void AccessOverlay::setHighlight(const QRect &rect, bool up)
{
    if (rect == frame_ && up == up_)
        return;
    if (!frame_.isEmpty())
        update(frameArea(frame_, up_));
    frame_ = rect;
    up_ = up;
    captions_ = frame_.isEmpty() ? QRegion() : captionsIn(parentWidget());
    if (!frame_.isEmpty())
        update(frameArea(frame_, up_));
}

void AccessOverlay::setRing(const QRect &rect, double progress)
{
    if (rect == ring_ && qAbs(progress - progress_) < 0.01)
        return;
    if (!ring_.isEmpty())
        update(ringArea(ring_));
    ring_ = progress < 0 ? QRect() : rect;
    progress_ = progress;
    if (!ring_.isEmpty())
        update(ringArea(ring_));
}

void AccessOverlay::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = thickness();
    if (!frame_.isEmpty()) {
        // Black edges included, inside the window, so that a button at the
        // window's edge shows its whole frame.
        const QRect outer = outerOf(frame_);
        p.setClipRegion(QRegion(outer).subtracted(captions_));
        const double inset = (w + 4) / 2.0;
        const QRectF r = QRectF(outer).adjusted(inset, inset, -inset, -inset);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, w + 4, up_ ? Qt::DashLine : Qt::SolidLine));
        p.drawRect(r);
        p.setPen(QPen(kFrameColour, w, up_ ? Qt::DashLine : Qt::SolidLine));
        p.drawRect(r);
        if (up_) {
            QFont f = font();
            f.setPixelSize(std::max(12, w * 5));
            f.setBold(true);
            p.setFont(f);
            const QRectF badge(r.topLeft(), QSizeF(w * 8, w * 7));
            p.fillRect(badge, kFrameColour);
            p.setPen(Qt::black);
            p.drawText(badge, Qt::AlignCenter, QStringLiteral("↑"));
        }
    }
    p.setClipping(false);
    if (!ring_.isEmpty() && progress_ >= 0) {
        const QRect r = ringArea(ring_).adjusted(w, w, -w, -w);
        p.setPen(QPen(Qt::black, w + 2));
        p.drawEllipse(r);
        p.setPen(QPen(kFrameColour, w));
        p.drawArc(r, 90 * 16, -int(progress_ * 360 * 16));
    }
}

} // namespace kel

#include "widgets/WholeAreaTouch.h"

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace kel {
namespace {

// Moves a touch outside the mark and caption onto the caption's middle,
// where the button itself takes it.
class WholeArea final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        const auto type = e->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove
            && type != QEvent::MouseButtonDblClick)
            return false;
        auto *button = static_cast<QAbstractButton *>(o);
        auto *mouse = static_cast<QMouseEvent *>(e);
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect own = button->style()->subElementRect(
            qobject_cast<QCheckBox *>(button) ? QStyle::SE_CheckBoxClickRect : QStyle::SE_RadioButtonClickRect, &option, button);
        const QPoint at = mouse->position().toPoint();
        if (own.isEmpty() || own.contains(at) || !button->rect().contains(at))
            return false;
        const QPointF centre = own.center();
        QMouseEvent moved(type, centre, button->mapToGlobal(centre), mouse->button(), mouse->buttons(), mouse->modifiers());
        QApplication::sendEvent(button, &moved);
        return true;
    }
};

} // namespace

void takeTouchesOnWholeArea(QWidget *root)
{
    static auto *filter = new WholeArea(qApp);
    for (QAbstractButton *b : root->findChildren<QAbstractButton *>())
        if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b))
            b->installEventFilter(filter);
}

} // namespace kel

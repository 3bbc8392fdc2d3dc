#include "frame/Stacking.h"

#include "widgets/FlexGrid.h"

#include <QEvent>
#include <QFrame>

namespace kel {
namespace {

class FrontOnShow final : public QObject {
public:
    FrontOnShow(QWidget *textPanel, QObject *parent) : QObject(parent), textPanel_(textPanel) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        // A spontaneous show is the window coming back (un-minimised), which
        // shows every child again in creation order: not a screen change.
        if (e->type() == QEvent::Show && !e->spontaneous()) {
            static_cast<QWidget *>(o)->raise();
            textPanel_->raise();
        }
        return false;
    }

private:
    QWidget *textPanel_;
};

} // namespace

void keepStacking(Controls &u)
{
    u.grdBoard->lower();
    auto *filter = new FrontOnShow(u.fraText, u.canvas);
    for (QWidget *w : {static_cast<QWidget *>(u.grdSp), static_cast<QWidget *>(u.grdEx),
                       static_cast<QWidget *>(u.grdDay), static_cast<QWidget *>(u.fraSet),
                       static_cast<QWidget *>(u.fraRes), static_cast<QWidget *>(u.fraTalk),
                       static_cast<QWidget *>(u.fraDay)})
        w->installEventFilter(filter);
    u.fraText->raise();
}

} // namespace kel

#pragma once
// Touches as a finger makes them, at a control's centre (or a given point)
// and delivered to whatever is on top there, and a script for the modal
// dialogs they open.

#include "frame/Reachable.h"
#include "support/DialogWatch.h"
#include "widgets/FlexGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <concepts>
#include <functional>
#include <vector>

namespace kel {

// Where a finger lands on `control` at `pos` (its own coordinates, its
// centre by default): the widget on top there inside its window, with `pos`
// turned into that widget's coordinates. A control that is hidden or covered
// there fails the test and gets no touch: a user could not touch it either.
inline QWidget *landing(QWidget *control, QPoint &pos)
{
    const QPoint global = control->mapToGlobal(pos.isNull() ? control->rect().center() : pos);
    QWidget *hit = control->isVisible() ? widgetAt(control->window(), global) : nullptr;
    if (!hit || !(hit == control || control->isAncestorOf(hit))) {
        auto name = [](const QWidget *w) {
            for (; w; w = w->parentWidget())
                if (!w->objectName().isEmpty())
                    return w->objectName();
            return QStringLiteral("nothing");
        };
        const QString message = QStringLiteral("a touch meant for %1 lands on %2").arg(name(control), name(hit));
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
        return nullptr;
    }
    pos = hit->mapFromGlobal(global);
    return hit;
}

inline void postMouse(QEvent::Type type, QWidget *control, QPoint pos)
{
    if (QWidget *w = landing(control, pos))
        QCoreApplication::postEvent(w, new QMouseEvent(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::LeftButton,
                                                       type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                       Qt::NoModifier));
}
// Queue a release, or a whole touch, where a finger would make it, for clock
// actions that run inside a wait, when the program takes no events.
inline void postRelease(QWidget *w, QPoint pos = {}) { postMouse(QEvent::MouseButtonRelease, w, pos); }
inline void postClick(QWidget *w, QPoint pos = {}) { postMouse(QEvent::MouseButtonPress, w, pos); postRelease(w, pos); }

// Touches that return once the handlers are done.
inline void press(QWidget *w, QPoint pos = {})
{
    if (QWidget *hit = landing(w, pos))
        QTest::mousePress(hit, Qt::LeftButton, {}, pos);
}
inline void release(QWidget *w, QPoint pos = {})
{
    if (QWidget *hit = landing(w, pos))
        QTest::mouseRelease(hit, Qt::LeftButton, {}, pos);
}
inline void click(QWidget *w, QPoint pos = {})
{
    press(w, pos);
    release(w, pos);
}
// The same at the centre of a grid's cell.
inline void pressCell(FlexGrid *g, int row, int col) { press(g->viewport(), g->cellRect(row, col).center()); }
inline void releaseCell(FlexGrid *g, int row, int col) { release(g->viewport(), g->cellRect(row, col).center()); }
inline void touchCell(FlexGrid *g, int row, int col) { click(g->viewport(), g->cellRect(row, col).center()); }
// Lets queued keystrokes and other posted events act.
inline void settle() { QCoreApplication::processEvents(); }

// Opens the drop-down `list` with a touch at its centre and touches the
// item showing `text`; the finger slides onto the item first, which
// highlights it.
inline void pickItem(QComboBox *list, const QString &text)
{
    click(list);
    QWidget *view = list->view()->viewport();
    QTRY_VERIFY(view->isVisible());
    const QPoint at(view->width() / 2, list->view()->visualRect(list->model()->index(list->findText(text), 0)).center().y());
    QMouseEvent slide(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(view, &slide);
    click(view, at);
}

template <typename W = QWidget>
W *child(QWidget *in, const char *name)
{
    return in->findChild<W *>(QString::fromLatin1(name));
}

// Runs each step once its dialog (by object name) is the active modal one.
struct ModalScript {
    using Step = std::pair<QString, std::function<void(QWidget *)>>;
    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps))
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget *w = QApplication::activeModalWidget();
            if (steps_.empty() || !w || w->objectName() != steps_.front().first || !w->isVisible())
                return;
            auto step = std::move(steps_.front().second);
            steps_.erase(steps_.begin());
            // Run from a timer of its own, so that a dialog the step opens
            // does not hold this one up.
            QTimer::singleShot(0, w, [step, w] { step(w); });
        });
        timer.start(20);
    }
    bool done() const { return steps_.empty(); }
    QTimer timer;
    std::vector<Step> steps_;
    test::ExpectsDialogs expects{[this](const QWidget *w) {
        return std::ranges::any_of(steps_, [w](const Step &s) { return s.first == w->objectName(); });
    }};
};

// Answers the program's questions and notices (its own message dialog) as
// they show, in turn, with `answers` (0: the first button; kEnter: the
// Enter key, which takes the default button; none left: the box is closed,
// the answer False, so that an unexpected question cannot hang the test),
// and keeps each as "title|message|button|button", with `marksDefault` the
// default button in brackets, and its answer (-1: closed).
struct Questions {
    static constexpr int kEnter = -2;
    explicit Questions(QList<int> answers = {1}, bool marksDefault = false)
        : Questions([answers](bool) mutable { return answers.isEmpty() ? -1 : answers.takeFirst(); })
    {
        marksDefault_ = marksDefault;
    }
    // `pick(twoButtons)` answers each box in turn.
    template <std::invocable<bool> Pick>
    explicit Questions(Pick pick)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, pick = std::move(pick)]() mutable {
            QWidget *w = QApplication::activeModalWidget();
            const auto *message = w ? w->findChild<QLabel *>("lblOK") : nullptr;
            if (!message || w == last_ || !w->isVisible()) // another kind of dialog: not ours to answer
                return;
            last_ = w;
            // As read: the joiners that keep a sentence's end on one line draw nothing.
            QStringList dialog{w->windowTitle(), message->text().remove(QChar(0x2060))};
            for (auto *b : {w->findChild<QPushButton *>("cmdOK0"), w->findChild<QPushButton *>("cmdOK1")})
                if (b->isVisible())
                    dialog << (marksDefault_ && b->isDefault() ? u'[' + b->text() + u']' : b->text());
            asked << dialog.join(u'|');
            answered << pick(dialog.size() == 4);
            if (answered.last() == kEnter)
                QTest::keyClick(w, Qt::Key_Return);
            else if (answered.last() < 0)
                w->close();
            else
                click(w->findChild<QPushButton *>(QStringLiteral("cmdOK%1").arg(answered.last())));
        });
        timer.start(5);
    }
    QStringList asked;
    QList<int> answered;
    QTimer timer;
    test::ExpectsDialogs expects{[](const QWidget *w) { return w->findChild<QLabel *>("lblOK") != nullptr; }};

private:
    QPointer<QWidget> last_;
    bool marksDefault_ = false;
};

} // namespace kel

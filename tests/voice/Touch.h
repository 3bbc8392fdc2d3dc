#pragma once
// Touches as a finger makes them, and a script for the modal dialogs they open.

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

namespace kel::test {

// A touch at the control's centre, delivered to whatever is on top there.
inline void touch(QWidget *control)
{
    const QPoint global = control->mapToGlobal(control->rect().center());
    QWidget *top = QApplication::widgetAt(global);
    QVERIFY2(top, "nothing on screen at the control's centre");
    const QPointF local = top->mapFromGlobal(QPointF(global));
    QMouseEvent press(QEvent::MouseButtonPress, local, QPointF(global), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, QPointF(global), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(top, &press);
    QApplication::sendEvent(top, &release);
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
};

} // namespace kel::test

#pragma once
// Driving the options dialog as a finger does, from inside its modal loop.

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kel {

// Runs `drive` on the modal dialog named `name` as soon as it shows. A
// dialog that `drive` leaves open is closed, and counts as a failure, so a
// broken test cannot hang.
class WhenModal {
public:
    WhenModal(const char *name, std::function<void(QDialog &)> drive)
        : name_(QString::fromLatin1(name)), drive_(std::move(drive))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    bool ran() const { return ran_; }
    bool leftOpen() const { return leftOpen_; }

private:
    void poll()
    {
        QPointer<QDialog> d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!d || d->objectName() != name_ || !d->isVisible())
            return;
        timer_.stop();
        ran_ = true;
        drive_(*d);
        if (d && d->isVisible()) {
            leftOpen_ = true;
            d->reject();
        }
    }

    QString name_;
    std::function<void(QDialog &)> drive_;
    QTimer timer_;
    bool ran_ = false;
    bool leftOpen_ = false;
};

// Touches a control the way a finger does: option buttons and check boxes
// on their indicator, buttons in the middle; "cmbSample=４" opens the list
// and touches the item.
inline void touch(QDialog &d, const QString &action)
{
    const QString name = action.section(QLatin1Char('='), 0, 0);
    QWidget *w = d.findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    if (auto *list = qobject_cast<QComboBox *>(w)) {
        const int item = list->findText(action.section(QLatin1Char('='), 1));
        QVERIFY2(item >= 0, qPrintable(action));
        QTest::mouseClick(list, Qt::LeftButton);
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        // The finger slides onto the item, which highlights it, and lifts.
        const QPoint at(view->viewport()->width() / 2,
                        view->visualRect(list->model()->index(item, 0)).center().y());
        QMouseEvent slide(QEvent::MouseMove, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &slide);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(!view->isVisible());
        return;
    }
    auto *button = qobject_cast<QAbstractButton *>(w);
    QVERIFY2(button, qPrintable(name));
    QPoint at = button->rect().center();
    if (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        const auto element = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonIndicator
                                                                 : QStyle::SE_CheckBoxIndicator;
        at = button->style()->subElementRect(element, &opt, button).center();
    }
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
}

inline void touchAll(QDialog &d, const QStringList &actions)
{
    for (const QString &a : actions) {
        touch(d, a);
        if (QTest::currentTestFailed())
            return;
    }
}

// What the dialog shows: "Option1=0 Option2=0 Option3=0 chkSamp=1 chkMaxC=0
// chkBeep=0 chkMoji=0 cmbSample=２"; a group without a choice shows "-".
inline QString shown(QDialog &d)
{
    QStringList parts;
    for (const char *group : {"Option1", "Option2", "Option3"}) {
        QString chosen = QStringLiteral("-");
        for (QRadioButton *b : d.findChildren<QRadioButton *>())
            if (b->objectName().startsWith(QLatin1String(group)) && b->isChecked())
                chosen = b->objectName().mid(7);
        parts << QLatin1String(group) + QLatin1Char('=') + chosen;
    }
    for (const char *box : {"chkSamp", "chkMaxC", "chkBeep", "chkMoji"})
        parts << QLatin1String(box) + QLatin1Char('=')
                     + (d.findChild<QCheckBox *>(QLatin1String(box))->isChecked() ? u'1' : u'0');
    parts << QStringLiteral("cmbSample=") + d.findChild<QComboBox *>(QStringLiteral("cmbSample"))->currentText();
    return parts.join(QLatin1Char(' '));
}

} // namespace kel

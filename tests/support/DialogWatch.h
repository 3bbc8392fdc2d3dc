#pragma once
// A modal dialog that nobody in the test is waiting for would wait for ever
// for a touch that never comes, and the test would hang to its timeout.
// Whatever answers dialogs (ModalScript, Questions, a switch user) says
// which it expects while it lives; any other modal dialog fails the test
// the moment it shows, named, and is closed.

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <vector>

namespace kel::test {

class ExpectsDialogs {
public:
    explicit ExpectsDialogs(std::function<bool(const QWidget *)> expects = [](const QWidget *) { return true; })
        : expects_(std::move(expects))
    {
        all().push_back(this);
    }
    ~ExpectsDialogs() { std::erase(all(), this); }
    ExpectsDialogs(const ExpectsDialogs &) = delete;
    ExpectsDialogs &operator=(const ExpectsDialogs &) = delete;

    static bool anyExpects(const QWidget *dialog)
    {
        return std::ranges::any_of(all(), [dialog](const ExpectsDialogs *e) { return e->expects_(dialog); });
    }

private:
    static std::vector<ExpectsDialogs *> &all()
    {
        static std::vector<ExpectsDialogs *> list;
        return list;
    }
    std::function<bool(const QWidget *)> expects_;
};

class DialogWatchdog final : public QObject {
protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::Show || !o->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(o);
        if (!w->isWindow() || !w->isModal() || ExpectsDialogs::anyExpects(w))
            return false;
        const QString what = QStringLiteral("an unexpected dialog opened: %1 \"%2\"").arg(w->objectName(), w->windowTitle());
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
        QTimer::singleShot(0, w, &QWidget::close);
        return false;
    }
};

} // namespace kel::test

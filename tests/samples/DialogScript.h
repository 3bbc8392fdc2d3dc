#pragma once
// Answers the question dialog while a handler waits in it, and records
// every dialog that appeared: its title, its message and the captions of
// its visible buttons. A dialog that the test did not expect is closed
// without a button (the answer False), so a wrong question cannot hang the
// test; the recorded list then shows it.

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

namespace kel {

struct SeenDialog {
    QString title;
    QString message;
    QStringList buttons;

    friend bool operator==(const SeenDialog &, const SeenDialog &) = default;
};

inline char *toString(const SeenDialog &d)
{
    return QTest::toString(QStringLiteral("[%1] %2 {%3}")
                               .arg(d.title, d.message, d.buttons.join(QLatin1Char('|'))));
}

class DialogScript : public QObject {
public:
    // Answers: 0 presses the first button, 1 the second.
    explicit DialogScript(std::initializer_list<int> answers = {}) : answers_(answers)
    {
        connect(&timer_, &QTimer::timeout, this, &DialogScript::poll);
        timer_.start(5);
    }

    QList<SeenDialog> seen;

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (!w || w == last_ || !w->isVisible())
            return;
        last_ = w;
        SeenDialog d;
        d.title = w->windowTitle();
        if (auto *label = w->findChild<QLabel *>(QStringLiteral("lblOK")))
            d.message = label->text();
        for (int k = 0; k < 2; ++k) {
            auto *b = w->findChild<QPushButton *>(QStringLiteral("cmdOK%1").arg(k));
            if (b && b->isVisible())
                d.buttons << b->text();
        }
        seen << d;
        if (answers_.empty()) {
            w->close();
            return;
        }
        const int k = answers_.front();
        answers_.pop_front();
        if (auto *b = w->findChild<QPushButton *>(QStringLiteral("cmdOK%1").arg(k)))
            QTest::mouseClick(b, Qt::LeftButton);
        else
            w->close();
    }

    QTimer timer_;
    std::deque<int> answers_;
    QPointer<QWidget> last_;
};

} // namespace kel

#include "speech/FrmRead.h"

#include "widgets/Fonts.h"
#include "widgets/TwipsLayout.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>

namespace kel {
namespace {

class StopLabel : public QLabel {
public:
    StopLabel(const QString &text, std::function<void()> onStop, QWidget *parent)
        : QLabel(text, parent), onStop_(std::move(onStop))
    {
    }

protected:
    void mousePressEvent(QMouseEvent *) override { onStop_(); }

private:
    std::function<void()> onStop_;
};

} // namespace

FrmRead::FrmRead(const TwipsMap &map, std::function<void()> onStop, QWidget *owner)
    : QWidget(owner, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmRead"));
    setWindowTitle(QStringLiteral("読み上げ中止パネル"));
    // The panel takes the focus when it shows: a window manager stacks a
    // window that comes up unfocused below the focused one, which would put
    // it behind a full-screen main window.
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(128, 128, 255));
    setPalette(p);
    setAutoFillBackground(true);
    setFixedSize(map.px(11850), map.px(1920));

    auto *label = new StopLabel(QStringLiteral("読み上げ中止"), [this, onStop = std::move(onStop)] {
        onStop();
        closeByProgram();
    }, this);
    label->setObjectName(QStringLiteral("lblLabel"));
    label->setProperty("touchable", true);
    label->setGeometry(map.px(QRect(2460, 360, 6495, 1215)));
    label->setFont(makeFont(DesignFont{QString::fromUtf8(kPGothic), 48, true}, map));
    label->setAlignment(Qt::AlignCenter);
}

QRect FrmRead::placed(QRect wanted, const QRect &window, const QRect &screen)
{
    if (!window.isEmpty()) {
        wanted.setWidth(std::min(wanted.width(), window.width()));
        wanted.moveLeft(std::clamp(wanted.left(), window.left(), window.right() + 1 - wanted.width()));
    }
    if (!screen.isEmpty()) {
        wanted.setSize(wanted.size().boundedTo(screen.size()));
        wanted.moveLeft(std::clamp(wanted.left(), screen.left(), screen.right() + 1 - wanted.width()));
        wanted.moveTop(std::clamp(wanted.top(), screen.top(), screen.bottom() + 1 - wanted.height()));
    }
    return wanted;
}

void FrmRead::placeAt(const QPoint &topLeft)
{
    const QWidget *owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen *screen = owner ? owner->screen() : this->screen();
    const QRect at = placed(QRect(topLeft, size()), owner ? owner->frameGeometry() : QRect(),
                            screen ? screen->availableGeometry() : QRect());
    // The label keeps its place; a narrower panel loses some of its margin.
    setFixedSize(at.size());
    move(at.topLeft());
}

void FrmRead::closeByProgram()
{
    closing_ = true;
    close();
}

void FrmRead::closeEvent(QCloseEvent *e)
{
    if (closing_)
        e->accept();
    else
        e->ignore();
}

} // namespace kel

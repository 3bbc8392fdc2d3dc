#pragma once
// Drawn over a window, never in the way of a touch: the scan highlight, a
// thick frame in a colour no screen of the program uses, edged in black and
// white so that it shows on every background; the "up" item's mark; and the
// dwell progress ring. Only the places that change are repainted.

#include <QPointer>
#include <QRegion>
#include <QWidget>

namespace kel {

class AccessOverlay : public QWidget {
    Q_OBJECT
public:
    static const QColor kFrameColour;

    explicit AccessOverlay(QWidget *window);

    // The highlight frame around `rect` (none when empty); `up` marks it as
    // the "up" item of its group.
    void setHighlight(const QRect &rect, bool up);
    QRect highlight() const { return frame_; }
    // The dwell ring over `rect`, `progress` 0..1 (none when negative).
    void setRing(const QRect &rect, double progress);
    // Frame width in pixels for the window's current size.
    int thickness() const;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // The frame's outer edge: around `r`, inside the window.
    QRect outerOf(const QRect &r) const;
    QRegion frameArea(const QRect &r, bool up) const;
    QRect ringArea(const QRect &r) const;

    QRect frame_;
    QRegion captions_;   // where the window's captions lie while the frame shows
    bool up_ = false;
    QRect ring_;
    double progress_ = -1;
};

} // namespace kel

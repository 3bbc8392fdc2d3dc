#pragma once
// A button that shows its own background colour, as the board's big touch
// buttons do; the handlers recolour it on press and release.

#include <QColor>
#include <QPushButton>

namespace kel {

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    ColorButton(const QString &caption, const QColor &back, QWidget *parent = nullptr);

    QColor backColor() const { return back_; }
    void setBackColor(const QColor &c);
    // The font the caption is drawn in: the button's own, or a smaller size
    // of it where the caption, wrapped, would not fit inside the edge ("広
    // げる" stands three high in a narrow button).
    QFont captionFont() const;

protected:
    // Captions wrap inside narrow buttons ("設定" stands as two lines).
    void paintEvent(QPaintEvent *e) override;

private:
    QColor back_;
    mutable QFont fitted_;
    mutable QString fittedFor_;
};

} // namespace kel

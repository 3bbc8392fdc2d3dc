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

protected:
    // Captions wrap inside narrow buttons ("設定" stands as two lines).
    void paintEvent(QPaintEvent *e) override;

private:
    QColor back_;
};

} // namespace kel

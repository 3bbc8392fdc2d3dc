#include "widgets/DialogLook.h"

#include "widgets/Fingertip.h"
#include "widgets/Fonts.h"
#include "widgets/TwipsLayout.h"
#include "widgets/WholeAreaTouch.h"

#include "base/OptionsForm.h"

#include <QColor>
#include <QLayout>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kel {

QString panelAndMarkStyle(const TwipsMap &map, QRgb panelBack)
{
    constexpr int kCaptionIndentTwips = 120;
    constexpr int kMarkTwips = 210;
    // The panels draw their line through the middle of the caption, and the
    // round and square marks grow with the dialog so that they stay as easy
    // to see and to hit as the captions beside them.
    return QStringLiteral(
               "QGroupBox{border:2px groove #8080c0;margin-top:%1px;}"
               "QGroupBox::title{subcontrol-origin:margin;subcontrol-position:top left;left:%2px;"
               "padding:0px 2px;background-color:%3;}"
               "QRadioButton::indicator,QCheckBox::indicator{width:%4px;height:%4px;}")
        .arg(map.fontPx(kPanelPoints) / 2)
        .arg(map.px(kCaptionIndentTwips))
        .arg(QColor::fromRgb(panelBack).name())
        .arg(map.px(kMarkTwips));
}

QString dialogLookStyle(const TwipsMap &map, QRgb panelBack, int fingertipPx)
{
    constexpr int kControlTwips = 540;
    // The height asked for is the content's: Qt adds the frame around it,
    // 2 px to a drop-down or a button, 6 px to a number box or a text field.
    const int height = map.px(kControlTwips);
    // Stacked one above the other, the arrows of a number box would be half
    // its height each; side by side, each is as high as the box.
    const int box = std::max(height, fingertipPx);
    const int arrow = std::max(height * 3 / 4, fingertipPx);
    return panelAndMarkStyle(map, panelBack)
           // Laid out by Qt, a panel's contents start below its caption,
           // not behind the lower half of it.
           + QStringLiteral("QGroupBox{padding-top:%1px;}").arg(map.fontPx(kPanelPoints) / 2 + 2)
           + QStringLiteral("QComboBox,QPushButton{min-height:%1px;}"
                            "QLineEdit{min-height:%2px;}"
                            "QAbstractSpinBox{min-height:%3px;padding-left:%4px;padding-right:%4px;}"
                            "QAbstractSpinBox::up-button{subcontrol-origin:border;subcontrol-position:center right;"
                            "width:%4px;height:%5px;}"
                            "QAbstractSpinBox::down-button{subcontrol-origin:border;subcontrol-position:center left;"
                            "width:%4px;height:%5px;}")
                 .arg(height - 2)
                 .arg(height - 6)
                 .arg(box - 6)
                 .arg(arrow)
                 .arg(box - 4);
}

void applyDialogLook(QWidget *dialog, const TwipsMap &map, QRgb back)
{
    QPalette p = dialog->palette();
    p.setColor(QPalette::Window, QColor::fromRgb(back));
    dialog->setPalette(p);
    dialog->setAutoFillBackground(true);
    dialog->setStyleSheet(dialogLookStyle(map, back, fingertipPixels(dialog)));
    // A widget under a style sheet takes no font from its parent: each is
    // given its own.
    const QFont font = makeFont(DesignFont{QString::fromUtf8(kPGothic), kDialogPoints, true}, map);
    dialog->setFont(font);
    for (QWidget *w : dialog->findChildren<QWidget *>())
        w->setFont(font);
    takeTouchesOnWholeArea(dialog);
}

void fitDialogLook(QWidget *dialog, const QWidget *over, double mainScale, TwipsMap &map, QRgb back,
                   const std::function<void()> &ownFonts)
{
    const QScreen *screen = over ? over->screen() : dialog->screen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    const auto apply = [&] {
        applyDialogLook(dialog, map, back);
        if (ownFonts)
            ownFonts();
    };
    map.setScale(optionsDialogScale(mainScale, room.height()));
    apply();
    if (room.isEmpty())
        return;
    // Room for the title bar and the frame the window manager adds.
    constexpr int kFramePx = 40;
    for (int i = 0; i < 8 && map.scale() > 1.0; ++i) {
        if (dialog->layout())
            dialog->layout()->activate();
        const QSize need = dialog->sizeHint();
        const double excess = std::max(double(need.width()) / room.width(),
                                       double(need.height()) / (room.height() - kFramePx));
        if (excess <= 1.0)
            break;
        map.setScale(std::max(1.0, map.scale() / excess));
        apply();
    }
}

} // namespace kel

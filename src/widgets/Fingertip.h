#pragma once
// About 7 mm, the width of a fingertip, in pixels on a widget's screen: the
// least a control meant for a touch should measure.

#include <QScreen>
#include <QWidget>
#include <cmath>

namespace kel {

inline int fingertipPixels(const QWidget *w)
{
    const QScreen *s = w ? w->screen() : nullptr;
    return int(std::ceil((s ? s->physicalDotsPerInch() : 96.0) * 7.0 / 25.4));
}

} // namespace kel

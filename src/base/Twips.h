#pragma once
// Every position, size and font of the windows is designed in twips
// (15 twips = 1 pixel at scale 1) and in points. One factor scales the whole
// design so that the window can fill any screen; this is the only place
// where design units become pixels.

#include <QRect>
#include <QtGlobal>

namespace kel {

// The main window's design client area and its outer height (client area
// plus the title bar and borders it was designed with), which the wide text
// panel is measured from.
inline constexpr int kDesignWidthTwips = 11790;
inline constexpr int kDesignHeightTwips = 8160;
inline constexpr int kOuterHeightTwips = 8670;

class TwipsMap {
public:
    double scale() const { return scale_; }
    void setScale(double s) { scale_ = s; }

    int px(int twips) const { return qRound(twips * scale_ / 15.0); }
    QRect px(const QRect &twips) const
    {
        return {px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height())};
    }
    // Points to pixels explicitly (1 pt = 20 twips), so the display's DPI
    // setting cannot change the layout.
    int fontPx(double points) const { return qMax(1, qRound(points * 20.0 * scale_ / 15.0)); }

    // The largest factor at which the design fits into `size`, keeping its aspect.
    static double fitScale(int widthPx, int heightPx, int designW, int designH)
    {
        return qMin(widthPx * 15.0 / designW, heightPx * 15.0 / designH);
    }

private:
    double scale_ = 1.0;
};

} // namespace kel

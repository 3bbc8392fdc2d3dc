#include "widgets/TwipsLayout.h"

#include "widgets/FlexGrid.h"

namespace kel {

namespace {
constexpr int kUnhintedFromPx = 24;
}

QFont makeFont(const DesignFont &font, const TwipsMap &map)
{
    // The design's family names are mapped onto installed fonts once, here:
    // asking the font system for a family it lacks makes it search for
    // fallbacks on every new size, which costs more than the rest of start-up.
    QFont f(QFont::substitute(font.family));
    f.setPixelSize(map.fontPx(font.points));
    f.setBold(font.bold);
    // At the board's sizes hinting changes nothing a reader can see, but
    // hinting each new size costs more than drawing the whole board.
    if (f.pixelSize() >= kUnhintedFromPx)
        f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void TwipsLayout::add(QWidget *w, const QRect &twips, const DesignFont &font)
{
    Entry e{w, twips, font};
    entries_.insert(w, e);
    apply(e);
}

void TwipsLayout::setRect(QWidget *w, const QRect &twips)
{
    auto it = entries_.find(w);
    if (it == entries_.end())
        return;
    it->rect = twips;
    apply(*it);
}

void TwipsLayout::setHeight(QWidget *w, int twips)
{
    QRect r = rect(w);
    r.setHeight(twips);
    setRect(w, r);
}

void TwipsLayout::setLeftTop(QWidget *w, int left, int top)
{
    QRect r = rect(w);
    r.moveTo(left, top);
    setRect(w, r);
}

void TwipsLayout::setFontPoints(QWidget *w, double points)
{
    auto it = entries_.find(w);
    if (it == entries_.end())
        return;
    it->font.points = points;
    apply(*it);
}

void TwipsLayout::setScale(double scale)
{
    map_.setScale(scale);
    for (const Entry &e : std::as_const(entries_))
        apply(e);
}

void TwipsLayout::apply(const Entry &e) const
{
    if (!e.widget)
        return;
    e.widget->setGeometry(map_.px(e.rect));
    if (!e.font.family.isEmpty())
        e.widget->setFont(makeFont(e.font, map_));
    if (auto *grid = qobject_cast<FlexGrid *>(e.widget.data()))
        grid->rescale();
}

} // namespace kel

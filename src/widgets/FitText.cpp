#include "widgets/FitText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

namespace kel {

QFont fittedFont(const QFont &font, const QString &text, const QSize &room)
{
    QFont f = font;
    auto fits = [&room, &text](const QFont &g) {
        const QFontMetrics m(g);
        return m.horizontalAdvance(text) <= room.width() && m.height() <= room.height();
    };
    if (text.isEmpty() || fits(f))
        return f;
    int px = f.pixelSize() > 0 ? f.pixelSize() : QFontMetrics(f).height();
    // Start near the size that fits and step down from there.
    const int wide = qMax(1, QFontMetrics(f).horizontalAdvance(text));
    px = qMin(px - 1, qMax(1, px * room.width() / wide + 1));
    for (; px > 1; --px) {
        f.setPixelSize(px);
        if (fits(f))
            return f;
    }
    f.setPixelSize(1);
    return f;
}

QSize FitTextDelegate::textRoom(const QWidget *view, const QRect &cellRect)
{
    // The style keeps this margin on each side of an item's text.
    const QStyle *style = view ? view->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return {cellRect.width() - 2 * margin, cellRect.height()};
}

void FitTextDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->textElideMode = Qt::ElideNone;
    const QSize room = textRoom(option->widget, option->rect);
    const QString key = QStringLiteral("%1|%2x%3|").arg(option->font.key()).arg(room.width()).arg(room.height())
                        + option->text;
    auto found = fitted_.constFind(key);
    if (found == fitted_.constEnd()) {
        if (fitted_.size() > 4096)
            fitted_.clear();
        found = fitted_.insert(key, fittedFont(option->font, option->text, room));
    }
    option->font = *found;
    option->fontMetrics = QFontMetrics(option->font);
}

} // namespace kel

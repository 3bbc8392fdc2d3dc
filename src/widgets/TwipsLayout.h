#pragma once
// Keeps each widget's design rectangle (twips) and font (points) and applies
// them through the window's TwipsMap, again whenever the scale changes.

#include "base/Twips.h"

#include <QFont>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace kel {

struct DesignFont {
    QString family;
    double points = 9;
    bool bold = false;
};

class TwipsLayout {
public:
    explicit TwipsLayout(TwipsMap &map) : map_(map) {}

    const TwipsMap &map() const { return map_; }

    void add(QWidget *w, const QRect &twips, const DesignFont &font);
    QRect rect(const QWidget *w) const { return entries_.value(w).rect; }
    void setRect(QWidget *w, const QRect &twips);
    void setHeight(QWidget *w, int twips);
    void setLeftTop(QWidget *w, int left, int top);
    void setFontPoints(QWidget *w, double points);
    double fontPoints(const QWidget *w) const { return entries_.value(w).font.points; }

    void setScale(double scale);

private:
    struct Entry {
        QPointer<QWidget> widget;
        QRect rect;
        DesignFont font;
    };
    void apply(const Entry &e) const;

    TwipsMap &map_;
    QHash<const QWidget *, Entry> entries_;
};

QFont makeFont(const DesignFont &font, const TwipsMap &map);

} // namespace kel

#pragma once
// Board cells never cut their text short: a text wider (or taller) than its
// cell is drawn in a smaller font that fits, as "(^_^)" on a narrow board.

#include <QFont>
#include <QHash>
#include <QSize>
#include <QStyledItemDelegate>

namespace kel {

// `font`, or the largest smaller pixel size of it in which `text` fits `room`.
QFont fittedFont(const QFont &font, const QString &text, const QSize &room);

// Draws each cell's text whole, shrunk to fit where needed.
class FitTextDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The room a cell of `cellRect` leaves for its text.
    static QSize textRoom(const QWidget *view, const QRect &cellRect);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    // Fitting measures the text; a board repaints the same few dozen cells
    // over and over (a moving highlight), so each answer is kept.
    mutable QHash<QString, QFont> fitted_;
};

} // namespace kel

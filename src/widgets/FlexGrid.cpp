#include "widgets/FlexGrid.h"

#include "widgets/FitText.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

namespace kel {

FlexGrid::FlexGrid(const TwipsMap &map, RowHeights heights, QWidget *parent)
    : QTableView(parent), map_(map), heights_(heights)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(heights == RowHeights::Stretch ? QHeaderView::Stretch
                                                                          : QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (heights == RowHeights::Stretch)
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    if (heights == RowHeights::Stretch)
        setItemDelegate(new FitTextDelegate(this));
}

void FlexGrid::attach() const
{
    if (attached_)
        return;
    auto *self = const_cast<FlexGrid *>(this);
    self->attached_ = true;
    self->setModel(&self->model_);
    self->applyColWidths();
}

void FlexGrid::applyColWidths()
{
    if (!attached_)
        return;
    for (int c = 0; c < Cols(); ++c)
        if (colTwips_[c] > 0)
            horizontalHeader()->resizeSection(c, map_.px(colTwips_[c]));
}

void FlexGrid::setRows(int n)
{
    model_.setRows(n);
    row_ = std::clamp(row_, 0, qMax(0, n - 1));
}

void FlexGrid::setCols(int n)
{
    model_.setCols(n);
    colTwips_.resize(size_t(qMax(0, n)), 0);
    applyColWidths();
    col_ = std::clamp(col_, 0, qMax(0, n - 1));
    colSel_ = std::clamp(colSel_, 0, qMax(0, n - 1));
}

void FlexGrid::setRow(int r)
{
    row_ = std::clamp(r, 0, qMax(0, Rows() - 1));
}

void FlexGrid::setCol(int c)
{
    col_ = std::clamp(c, 0, qMax(0, Cols() - 1));
    colSel_ = col_;
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    const GridModel::Cell *c = model_.cell(row, col);
    return c ? c->text : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &s)
{
    if (GridModel::Cell *c = model_.cellForEdit(row, col)) {
        c->text = s;
        model_.cellChanged(row, col);
    }
}

void FlexGrid::setCellBackColor(const QColor &colour)
{
    const int from = qMin(col_, colSel_), to = qMax(col_, colSel_);
    for (int c = from; c <= to; ++c)
        model_.setBack(row_, c, colour);
}

QColor FlexGrid::cellBackColor(int row, int col) const
{
    const GridModel::Cell *c = model_.cell(row, col);
    return c && c->back.isValid() ? c->back : QColor(Qt::white);
}

void FlexGrid::setCellAlignment(int alignment)
{
    static constexpr int kQtAlignments[] = {
        Qt::AlignLeft | Qt::AlignTop,     Qt::AlignLeft | Qt::AlignVCenter,
        Qt::AlignLeft | Qt::AlignBottom,  Qt::AlignHCenter | Qt::AlignTop,
        Qt::AlignCenter,                  Qt::AlignHCenter | Qt::AlignBottom,
        Qt::AlignRight | Qt::AlignTop,    Qt::AlignRight | Qt::AlignVCenter,
        Qt::AlignRight | Qt::AlignBottom,
    };
    if (alignment < 0 || alignment > 8)
        return;
    if (GridModel::Cell *c = model_.cellForEdit(row_, col_)) {
        c->alignment = kQtAlignments[alignment];
        model_.cellChanged(row_, col_);
    }
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= Cols())
        return;
    colTwips_[col] = twips;
    if (attached_)
        horizontalHeader()->resizeSection(col, map_.px(twips));
}

int FlexGrid::ColWidth(int col) const
{
    return col >= 0 && col < int(colTwips_.size()) ? colTwips_[col] : 0;
}

int FlexGrid::TopRow() const
{
    attach();
    return verticalScrollBar()->value();
}

void FlexGrid::setTopRow(int r)
{
    attach();
    // The scroll range follows the rows only after the view's delayed layout.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(std::clamp(r, 0, qMax(0, Rows() - 1)));
}

void FlexGrid::reorderRows(const std::vector<int> &order)
{
    if (int(order.size()) == Rows())
        model_.reorder(order);
}

void FlexGrid::setRedraw(bool on)
{
    // Edits made meanwhile are announced to the view when repainting resumes,
    // so it repaints once, and only the cells that changed.
    if (!on) {
        if (redrawOff_++ == 0)
            model_.setDeferred(true);
        return;
    }
    if (redrawOff_ == 0 || --redrawOff_ > 0)
        return;
    model_.setDeferred(false);
}

void FlexGrid::rescale()
{
    applyColWidths();
    applyRowHeights();
}

void FlexGrid::applyRowHeights()
{
    // A hidden list measures its font when it is shown, not at start-up.
    if (heights_ == RowHeights::FromFont && isVisible())
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 5 / 4 + 2);
}

void FlexGrid::press(const QPoint &pos)
{
    pressAccepted_ = false;
    if (blocked_)
        return;
    const QModelIndex idx = indexAt(pos);
    mouseRow_ = idx.isValid() ? idx.row() : -1;
    mouseCol_ = idx.isValid() ? idx.column() : -1;
    if (!idx.isValid())
        return;
    row_ = idx.row();
    col_ = colSel_ = idx.column();
    pressAccepted_ = true;
    emit pressed();
}

void FlexGrid::mousePressEvent(QMouseEvent *e)
{
    press(e->position().toPoint());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *e)
{
    // A quick second touch is a touch of its own, not a double-click.
    press(e->position().toPoint());
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *)
{
    if (!pressAccepted_ || blocked_) {
        pressAccepted_ = false;
        return;
    }
    pressAccepted_ = false;
    emit clicked();
}

void FlexGrid::mouseMoveEvent(QMouseEvent *) {}

void FlexGrid::wheelEvent(QWheelEvent *e)
{
    if (!blocked_)
        QTableView::wheelEvent(e);
}

void FlexGrid::showEvent(QShowEvent *e)
{
    attach();
    QTableView::showEvent(e);
    applyRowHeights();
}

void FlexGrid::resizeEvent(QResizeEvent *e)
{
    QTableView::resizeEvent(e);
    applyRowHeights();
}

} // namespace kel

#include "widgets/GridModel.h"

#include <QBrush>
#include <utility>

namespace kel {

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    const Cell *c = cell(index.row(), index.column());
    if (!c)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return c->text;
    case Qt::BackgroundRole:
        return QBrush(c->back.isValid() ? c->back : QColor(Qt::white));
    case Qt::ForegroundRole:
        return QBrush(fore_);
    case Qt::TextAlignmentRole:
        return c->alignment < 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : c->alignment;
    default:
        return {};
    }
}

void GridModel::setRows(int rows)
{
    rows = qMax(0, rows);
    if (rows == rows_)
        return;
    beginResetModel();
    cells_.resize(size_t(rows) * size_t(cols_));
    rows_ = rows;
    endResetModel();
}

void GridModel::setCols(int cols)
{
    cols = qMax(0, cols);
    if (cols == cols_)
        return;
    beginResetModel();
    std::vector<Cell> next(size_t(rows_) * size_t(cols));
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < qMin(cols, cols_); ++c)
            next[size_t(r) * cols + c] = std::move(cells_[size_t(r) * cols_ + c]);
    cells_ = std::move(next);
    cols_ = cols;
    endResetModel();
}

const GridModel::Cell *GridModel::cell(int row, int col) const
{
    if (row < 0 || col < 0 || row >= rows_ || col >= cols_)
        return nullptr;
    return &cells_[size_t(row) * cols_ + col];
}

GridModel::Cell *GridModel::cellForEdit(int row, int col)
{
    return const_cast<Cell *>(cell(row, col));
}

void GridModel::cellChanged(int row, int col)
{
    if (deferred_) {
        // A handler that recolours a few cells repaints only those cells.
        constexpr size_t kFewCells = 64;
        if (!dirty_ && dirtyCells_.size() < kFewCells)
            dirtyCells_.emplace_back(row, col);
        else
            dirty_ = true;
        return;
    }
    const QModelIndex i = index(row, col);
    emit dataChanged(i, i);
}

void GridModel::setBack(int row, int col, const QColor &c)
{
    Cell *cell = cellForEdit(row, col);
    if (!cell || cell->back == c)
        return;
    cell->back = c;
    cellChanged(row, col);
}

void GridModel::setForeColor(const QColor &c)
{
    if (fore_ == c)
        return;
    fore_ = c;
    changed();
}

void GridModel::reorder(const std::vector<int> &order)
{
    std::vector<Cell> next;
    next.reserve(cells_.size());
    for (int from : order)
        for (int c = 0; c < cols_; ++c)
            next.push_back(std::move(cells_[size_t(from) * cols_ + c]));
    next.resize(cells_.size());
    cells_ = std::move(next);
    changed();
}

void GridModel::setDeferred(bool deferred)
{
    deferred_ = deferred;
    if (deferred_)
        return;
    if (dirty_) {
        dirty_ = false;
        dirtyCells_.clear();
        changed();
        return;
    }
    for (const auto &[row, col] : std::exchange(dirtyCells_, {}))
        if (row < rows_ && col < cols_)
            emit dataChanged(index(row, col), index(row, col));
}

void GridModel::changed()
{
    dirtyCells_.clear();
    if (deferred_) {
        dirty_ = true;
        return;
    }
    if (rows_ > 0 && cols_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

} // namespace kel

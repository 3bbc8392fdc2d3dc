#pragma once
// Cell storage of the grid control: text, background and alignment per cell,
// one text colour for the whole grid. Edits made while repainting is
// suspended are announced to the view once, when repainting resumes.

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <vector>

namespace kel {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Cell {
        QString text;
        QColor back;            // invalid: white
        int alignment = -1;     // -1: left, vertically centred
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    void setRows(int rows);
    void setCols(int cols);

    const Cell *cell(int row, int col) const;
    Cell *cellForEdit(int row, int col);
    void cellChanged(int row, int col);
    // Sets a cell's background; announces it only when it really changes.
    void setBack(int row, int col, const QColor &c);

    void setForeColor(const QColor &c);

    // Reorders the rows: row i becomes the old row order[i].
    void reorder(const std::vector<int> &order);

    void setDeferred(bool deferred);

private:
    void changed();

    int rows_ = 0;
    int cols_ = 0;
    std::vector<Cell> cells_;   // row-major
    QColor fore_ = Qt::black;
    bool deferred_ = false;
    bool dirty_ = false;               // everything changed
    std::vector<std::pair<int, int>> dirtyCells_;   // or just these
};

} // namespace kel

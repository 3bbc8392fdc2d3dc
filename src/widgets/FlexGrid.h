#pragma once
// The one grid control behind the board, the enlarged grid and the three
// lists. Cells are addressed from 0, with no header rows or columns; a
// current cell (Row, Col) with a column selection up to ColSel; column widths
// in twips. A press first makes the pressed cell current, then emits
// pressed(); the release emits clicked().

#include "base/Twips.h"
#include "widgets/GridModel.h"

#include <QTableView>
#include <vector>

namespace kel {

// Cell alignment values used by the program.
inline constexpr int kAlignCentreBottom = 5;

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    enum class RowHeights { Stretch, FromFont };

    explicit FlexGrid(const TwipsMap &map, RowHeights heights, QWidget *parent = nullptr);

    int Rows() const { return model_.rows(); }
    void setRows(int n);
    int Cols() const { return model_.cols(); }
    void setCols(int n);

    int Row() const { return row_; }
    void setRow(int r);
    int Col() const { return col_; }
    void setCol(int c);
    int ColSel() const { return colSel_; }
    void setColSel(int c) { colSel_ = c; }

    QString Text() const { return TextMatrix(row_, col_); }
    void setText(const QString &s) { setTextMatrix(row_, col_, s); }
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &s);

    // Background of the current cell, or of Col..ColSel on the current row.
    void setCellBackColor(const QColor &c);
    QColor cellBackColor(int row, int col) const;
    void setCellAlignment(int alignment);
    void setForeColor(const QColor &c) { model_.setForeColor(c); }

    void setColWidth(int col, int twips);
    int ColWidth(int col) const;

    int TopRow() const;
    void setTopRow(int r);

    // Row i becomes the old row order[i].
    void reorderRows(const std::vector<int> &order);

    // Repainting off/on: edits meanwhile show at once when it resumes.
    void setRedraw(bool on);
    // While blocked, presses and releases are dropped, as on a disabled control.
    void setInputBlocked(bool blocked) { blocked_ = blocked; }
    bool inputBlocked() const { return blocked_; }

    // Row under the pointer at the last press; -1 below the last row.
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }

    // Re-applies column widths and row heights after the scale changed.
    void rescale();

    // Pixel rectangle of a cell in viewport coordinates (for tests and drawing).
    QRect cellRect(int row, int col) const
    {
        attach();
        return visualRect(model_.index(row, col));
    }

signals:
    void pressed();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void press(const QPoint &pos);
    void applyRowHeights();

    const TwipsMap &map_;
    RowHeights heights_;
    GridModel model_;
    std::vector<int> colTwips_;
    int row_ = 0, col_ = 0, colSel_ = 0;
    int mouseRow_ = -1, mouseCol_ = -1;
    bool blocked_ = false;
    bool pressAccepted_ = false;
    int redrawOff_ = 0;
    // The view takes its model when it is first shown or measured: joining
    // them costs more than the rest of a grid, and most lists stay hidden
    // through start-up.
    bool attached_ = false;
    void attach() const;
    void applyColWidths();
};

} // namespace kel

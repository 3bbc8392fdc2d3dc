#include "board/Neighbourhood.h"

#include "board/Variants.h"

namespace kel {

namespace {

constexpr int kLastBoardRow = 4;

// Writes the variants of `text` over the side cells of one grid row.
void showVariants(std::array<QString, 3>& gridRow, const QString& text)
{
    const std::optional<VariantForms> forms = variantsOf(text);
    if (!forms)
        return;
    if (!forms->left.isEmpty())
        gridRow[0] = forms->left;
    gridRow[2] = forms->right;
}

// One grid row from board row `row`: left neighbour, the cell, right
// neighbour, then the variants of the cell.
std::array<QString, 3> neighbourRow(
    const std::function<QString(int row, int col)>& boardText, int row, int col)
{
    std::array<QString, 3> gridRow;
    if (col != 0)
        gridRow[0] = boardText(row, col - 1);
    gridRow[1] = boardText(row, col);
    if (col < kRightNeighbourBound)
        gridRow[2] = boardText(row, col + 1);
    showVariants(gridRow, gridRow[1]);
    return gridRow;
}

} // namespace

Cells3x3 pickBoardCell(const std::function<QString(int row, int col)>& boardText,
                       int col, int row)
{
    Cells3x3 cells;
    if (row != 0)
        cells[0] = neighbourRow(boardText, row - 1, col);
    cells[1] = neighbourRow(boardText, row, col);
    if (row < kLastBoardRow)
        cells[2] = neighbourRow(boardText, row + 1, col);
    return cells;
}

} // namespace kel

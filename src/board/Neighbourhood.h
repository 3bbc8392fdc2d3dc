#pragma once
// What the enlarged selection screen shows for a chosen board cell: a 3 × 3
// grid with the chosen text in the middle, the board cells around it, and
// the variant forms of each column's text in place of its side cells.

#include <QString>
#include <array>
#include <functional>

namespace kel {

// Texts of the enlarged grid, indexed [row][column], rows and columns 0..2.
using Cells3x3 = std::array<std::array<QString, 3>, 3>;

// A right-hand neighbour is read only for a chosen column below this bound,
// on a board of 15 columns too: there columns 9 to 14 show none (only a
// variant, where the character has one).
inline constexpr int kRightNeighbourBound = 9;

// Fills the enlarged grid around board cell (row 0..4, col 0..14).
// `boardText(r, c)` is asked only for rows 0..4, for columns col-1 (not
// below 0), col and col+1 (only below the bound); the cells not read stay
// "". Each grid row takes the board row above, at and below the chosen
// one; after its three neighbours are written, the variants of its middle
// text replace its side cells. On the 10-column hiragana board:
//   か (row 0, col 8):  "" "" ""  /  さ か が  /  し き ぎ
//   つ (row 2, col 6):  に ち ぢ  /  っ つ づ  /  ね て で
//   ほ (row 4, col 4):  ぺ へ べ  /  ぽ ほ ぼ  /  "" "" ""
// On the 15-column board な (col 10) shows "" on its right, か (col 13) が.
Cells3x3 pickBoardCell(const std::function<QString(int row, int col)>& boardText,
                       int col, int row);

} // namespace kel

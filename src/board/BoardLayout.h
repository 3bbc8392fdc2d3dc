#pragma once
// The character board's three layouts. In the kana modes each column holds
// one row of the kana table, read top to bottom, and the table's rows run
// from the rightmost column leftwards as in vertical writing:
//
//   column:  0  1  2  3  4  5  6  7  8  9      (10 columns, MaxC = 9)
//   row 0:   わ ら や ま は な た さ か あ
//
// With 15 columns (MaxC = 14) the ten kana columns move to 5..14 and the
// voiced rows ぱ ば だ ざ が fill columns 0..4.

#include <QString>

namespace kel {

enum class BoardMode { Hiragana, Katakana, Alphanumeric };

inline constexpr int kBoardRows = 5;
inline constexpr int kAlphaColumns = 10;

// Text of cell (row, col) for a board whose last column is `maxC`; "" for
// an empty cell.
QString boardCellText(BoardMode mode, int maxC, int row, int col);

// The mode a board rebuild writes for the caption shown before it, and the
// caption it leaves: "英数" -> hiragana ("ひら"), "ひら" -> katakana ("カタ"),
// anything else -> letters ("英数"). Spaces around the caption are ignored.
struct ModeStep {
    BoardMode mode;
    const char *nextCaption;
};
ModeStep boardModeForCaption(const QString &caption);

// Column width in twips for a board whose last column is `maxC`.
int boardColumnTwips(int maxC);

} // namespace kel

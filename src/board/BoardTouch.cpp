// Press and release on the board and on the enlarged grid.
#include "board/Board.h"

namespace kel {

void Board::grdBoard_MouseDown() {}
void Board::grdBoard_Click() {}
void Board::PickBoardCell(int, int) {}
void Board::ShowVariants(const QString &, int) {}
void Board::grdBoard2_MouseDown() {}
void Board::grdBoard2_Click() {}

} // namespace kel

#include "board/Board.h"

#include "board/BoardLayout.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"

namespace kel {

void Board::SetBoard()
{
    FlexGrid &g = *t_.ui.grdBoard;
    const int maxC = t_.st.MaxC;
    g.setRedraw(false);
    g.setRows(kBoardRows);
    g.setCols(maxC + 1);
    for (int c = 0; c <= maxC; ++c) {
        for (int r = 0; r < kBoardRows; ++r) {
            g.setRow(r);
            g.setCol(c);
            g.setText(QString());
            g.setCellBackColor(Qt::white);
            g.setCellAlignment(kAlignCentreBottom);
        }
        g.setColWidth(c, boardColumnTwips(maxC));
    }
    g.setForeColor(Qt::black);

    const ModeStep step = boardModeForCaption(t_.ui.cmdKey->text());
    for (int c = 0; c <= maxC; ++c)
        for (int r = 0; r < kBoardRows; ++r)
            g.setTextMatrix(r, c, boardCellText(step.mode, maxC, r, c));
    t_.ui.cmdKey->setText(QString::fromUtf8(step.nextCaption));
    g.setRedraw(true);
}

} // namespace kel

// Press and release on the board and on the enlarged grid.
#include "board/Board.h"

#include "board/Neighbourhood.h"
#include "board/Variants.h"
#include "compose/Composer.h"
#include "frame/Screens.h"
#include "predict/CandidateRow.h"
#include "predict/Prediction.h"
#include "speech/Speech.h"
#include "widgets/ColorButton.h"
#include "widgets/Colours.h"
#include "widgets/FlexGrid.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>
#include <QLabel>

namespace kel {
namespace {

const QColor kSilver(192, 192, 192);
constexpr double kVoicePause = 0.5;
constexpr int kEnlargedColumnTwips = 3950;
const QString kFullWidthSpace = QStringLiteral("　");

void paintAll(FlexGrid &g, int rows, int cols, const QColor &c)
{
    for (int col = 0; col < cols; ++col) {
        for (int row = 0; row < rows; ++row) {
            g.setRow(row);
            g.setCol(col);
            g.setCellBackColor(c);
        }
    }
}

// Repainting suspended and touches refused while a handler works on a grid,
// so that touches queued during the voice pause are not taken.
class GridBusy {
public:
    explicit GridBusy(FlexGrid &g) : g_(g)
    {
        g_.setRedraw(false);
        g_.setInputBlocked(true);
    }
    ~GridBusy()
    {
        g_.setInputBlocked(false);
        g_.setRedraw(true);
    }

private:
    FlexGrid &g_;
};

} // namespace

void Board::grdBoard_MouseDown()
{
    FlexGrid &g = *t_.ui.grdBoard;
    t_.st.BoardRow = g.Row();
    t_.st.BoardCol = g.Col();
    GridBusy busy(g);
    paintAll(g, 5, t_.st.MaxC + 1, kCellWhite);
    g.setRow(t_.st.BoardRow);
    g.setCol(t_.st.BoardCol);
    g.setCellBackColor(g.Text() == t_.st.CellText ? kSilver : kHighlightGreen);
}

void Board::grdBoard_Click()
{
    FlexGrid &g = *t_.ui.grdBoard;
    {
        GridBusy busy(g);
        const QString own = g.Text();
        const QString text = own.isEmpty() ? kFullWidthSpace : own;
        if (t_.st.beepOn())
            t_.sv.platform->beep();
        switch (int(t_.st.number(OPT1))) {
        case 0:
            g.setCellBackColor(QColor::fromRgb(kDesktopColour));
            openEnlarged(text);
            break;
        case 1:
            if (own == t_.st.CellText)
                openEnlarged(text);
            else
                firstTouch(text);
            break;
        case 2:
            g.setCellBackColor(QColor::fromRgb(kDesktopColour));
            enter(text);
            break;
        case 3:
            if (own == t_.st.CellText)
                enter(text);
            else
                firstTouch(text);
            break;
        default:
            break;
        }
    }
    restoreBlock(!t_.screens->shows(Panel::fraSet));
}

void Board::restoreBlock(bool allowed)
{
    t_.ui.txtTalk->setFocus();
    if (allowed && t_.ui.txtTalk->selLength() == 0)
        compose_.sendKeys(QStringLiteral("+{RIGHT}"));
}

void Board::firstTouch(const QString &text)
{
    t_.st.CellText = text;
    speech_.SpeakChar(text, kVoicePause, QStringLiteral("1"));
}

void Board::enter(const QString &text)
{
    t_.ui.txtHide->setText(text);
    compose_.PutText();
    speech_.SpeakChar(text, kVoicePause, QStringLiteral("E"));
    compose_.OfferSuggestions(t_.ui.txtTalk->text());
}

void Board::openEnlarged(const QString &text)
{
    speech_.SpeakChar(text, kVoicePause, QStringLiteral("S"));
    PickBoardCell(t_.st.BoardCol, t_.st.BoardRow);
    fillCandidates(text);
    // The screen covers the board and the row of candidates above it.
    QRect board = t_.layout.rect(t_.ui.grdBoard);
    if (auto *strip = t_.ui.canvas->findChild<CandidateRow *>(QStringLiteral("rowStrip")); strip && strip->isVisible())
        board = board.united(t_.layout.rect(strip));
    t_.layout.setLeftTop(t_.ui.fraSet, board.left(), board.top());
    t_.screens->ask(ScreenEvent::CellOpened);
}

void Board::fillCandidates(const QString &cell)
{
    auto *row = t_.ui.fraSet->findChild<CandidateRow *>();
    const bool on = row && t_.prediction && t_.prediction->active();
    t_.ui.cmdspace->setVisible(!on);
    if (!row)
        return;
    const QString before = t_.ui.txtTalk->text().left(t_.ui.txtTalk->selStart());
    row->fill(on ? t_.prediction->candidates(before + cell) : QList<Candidate>(), before.size());
    row->setTake([this](const QString &text) { takeCandidate(text); });
    row->setVisible(on);
}

void Board::enterCandidate(const QString &text, bool fromEnlarged)
{
    TalkBox &box = *t_.ui.txtTalk;
    const qsizetype caret = box.selStart();
    const TakeEdit edit = takeEdit(QStringView(box.text()).left(caret), text);
    // The typed kana the candidate writes otherwise (か where it has が)
    // go, then the rest enters at the caret as a picked character does.
    box.setText(box.text().left(edit.removeFrom) + box.text().mid(caret));
    box.setSelStart(edit.removeFrom);
    box.setSelLength(0);
    // What the user chose is their own words: offered higher from now on.
    if (t_.prediction)
        t_.prediction->took(text);
    if (fromEnlarged) {
        t_.st.Board2Text = edit.insert;
        enterFromEnlarged();
    } else {
        t_.st.CellText.clear(); // a cell named before is not entered by its next touch
        enter(edit.insert);
    }
    restoreBlock(true);
}

void Board::PickBoardCell(int col, int row)
{
    FlexGrid &z = *t_.ui.grdBoard2;
    const FlexGrid &b = *t_.ui.grdBoard;
    z.setRows(3);
    z.setCols(3);
    z.setRedraw(false);
    const Cells3x3 cells = pickBoardCell([&b](int r, int c) { return b.TextMatrix(r, c); }, col, row);
    for (int c = 0; c < 3; ++c) {
        z.setColWidth(c, kEnlargedColumnTwips);
        for (int r = 0; r < 3; ++r) {
            z.setRow(r);
            z.setCol(c);
            z.setText(cells[r][c]);
            z.setCellBackColor(kCellWhite);
            z.setCellAlignment(kAlignCentreBottom);
        }
    }
    z.setRedraw(true);
}

void Board::grdBoard2_MouseDown()
{
    FlexGrid &z = *t_.ui.grdBoard2;
    t_.ui.grdBoard->setInputBlocked(true);
    t_.st.Board2Row = z.Row();
    t_.st.Board2Col = z.Col();
    {
        GridBusy busy(z);
        paintAll(z, 3, 3, kCellWhite);
        z.setRow(t_.st.Board2Row);
        z.setCol(t_.st.Board2Col);
        z.setCellBackColor(z.Text() == t_.st.Board2Text ? kSilver : kHighlightGreen);
    }
    t_.ui.grdBoard->setInputBlocked(false);
}

void Board::grdBoard2_Click()
{
    FlexGrid &z = *t_.ui.grdBoard2;
    GridBusy busy(z);
    if (t_.st.beepOn())
        t_.sv.platform->beep();
    const QString text = z.Text();
    if (text.isEmpty())
        return;
    switch (int(t_.st.number(OPT2))) {
    case 0:
        t_.st.Board2Text = text;
        enterFromEnlarged();
        break;
    case 1:
        if (text != t_.st.Board2Text) {
            t_.st.Board2Text = text;
            speech_.SpeakChar(t_.st.Board2Text, kVoicePause, QStringLiteral("1"));
        } else {
            enterFromEnlarged();
        }
        break;
    default:
        break;
    }
    restoreBlock(true);
}

void Board::enterFromEnlarged()
{
    t_.ui.txtHide->setText(t_.st.Board2Text);
    t_.screens->ask(ScreenEvent::EnlargedLeft);
    compose_.PutText();
    speech_.SpeakChar(t_.st.Board2Text, kVoicePause, QStringLiteral("E"));
    compose_.OfferSuggestions(t_.ui.txtTalk->text());
}

} // namespace kel

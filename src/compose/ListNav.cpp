#include "compose/ListNav.h"

#include "base/Clock.h"
#include "compose/Composer.h"
#include "frame/Screens.h"
#include "widgets/ColorButton.h"
#include "widgets/Colours.h"
#include "widgets/FlexGrid.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"

namespace kel {

namespace {

const QColor kUpPressed = QColor::fromRgb(0, 192, 0);
const QColor kUpReleased = QColor::fromRgb(192, 255, 192);
const QColor kDownPressed = QColor::fromRgb(0, 128, 0);
const QColor kDownReleased = QColor::fromRgb(128, 255, 128);

constexpr double kRepeatSeconds = 0.23;

// What differs between the lists: the column "決定" reads, the first
// highlighted column (the highlight runs to the last column), and the top
// row at which "△" stops scrolling. The suggestion list keeps its row 0,
// the typed key, out of sight once it has scrolled.
struct ListRule {
    int textCol;
    int firstHighlightCol;
    int upScrollLimit;
};
constexpr ListRule kSuggestionRule{0, 0, 1};
constexpr ListRule kSentenceRule{1, 1, 0}; // the example list and the diary list

ListRule ruleFor(const Talk &t)
{
    return t.screens->listId() == ListId::Suggestions ? kSuggestionRule : kSentenceRule;
}

// Colours the highlighted cells of `row` and leaves the grid's current row
// and column selection on it.
void paintRow(FlexGrid &grid, const ListRule &rule, int row, const QColor &colour)
{
    if (row < 0 || row >= grid.Rows())
        return;
    grid.setRow(row);
    grid.setCol(rule.firstHighlightCol);
    grid.setColSel(grid.Cols() - 1);
    grid.setCellBackColor(colour);
}

void moveHighlight(Talk &t, FlexGrid &grid, int to)
{
    const ListRule rule = ruleFor(t);
    paintRow(grid, rule, t.st.ListRow, kCellWhite);
    paintRow(grid, rule, to, kHighlightGreen);
    t.st.ListRow = to;
}

} // namespace

void ListNav::cmdUp_MouseDown()
{
    t_.ui.cmdUp->setBackColor(kUpPressed);
    t_.st.ButtonHeld = true;
    MoveUp();
}

void ListNav::cmdUp_MouseUp()
{
    t_.ui.cmdUp->setBackColor(kUpReleased);
    t_.st.ButtonHeld = false;
}

void ListNav::cmdDown_MouseDown()
{
    t_.ui.cmdDown->setBackColor(kDownPressed);
    t_.st.ButtonHeld = true;
    MoveDown();
}

void ListNav::cmdDown_MouseUp()
{
    t_.ui.cmdDown->setBackColor(kDownReleased);
    t_.st.ButtonHeld = false;
}

void ListNav::MoveUp()
{
    repeatWhileHeld(-1);
}

void ListNav::MoveDown()
{
    repeatWhileHeld(+1);
}

void ListNav::repeatWhileHeld(int step)
{
    // Each step acts, lets the list repaint (and a release be seen), waits
    // out the period without taking events, and takes the events queued
    // meanwhile. The release handler only clears ButtonHeld.
    Clock &clock = *t_.sv.clock;
    while (t_.st.ButtonHeld && !t_.st.Quitting) {
        const Nanos start = clock.now();
        if (FlexGrid *grid = t_.screens->list()) {
            if (!stepHighlight(*grid, step))
                return;
            t_.doEvents();
        }
        t_.ui.txtTalk->setFocus();
        waitMoreThan(clock, start, kRepeatSeconds);
        t_.doEvents();
    }
}

bool ListNav::stepHighlight(FlexGrid &grid, int step)
{
    const int row = t_.st.ListRow;
    if (step < 0 ? row <= 0 : row + 1 >= grid.Rows())
        return false;
    moveHighlight(t_, grid, row + step);

    const int top = grid.TopRow();
    if (step < 0) {
        if (top > ruleFor(t_).upScrollLimit)
            grid.setTopRow(top - 1);
    } else if (top + 1 < t_.st.ListRow - 1) {
        grid.setTopRow(top + 1);
    }
    return true;
}

void ListNav::list_Click(FlexGrid *grid)
{
    const int row = grid->MouseRow();
    // A touch below the last row: the row is not there, nothing changes.
    // Only the list of the current screen can be touched.
    if (row < 0 || row >= grid->Rows() || grid != t_.screens->list())
        return;
    if (t_.st.beepOn())
        t_.sv.platform->beep();
    moveHighlight(t_, *grid, row);
    t_.ui.txtTalk->setFocus();
}

void ListNav::cmdDec_Click()
{
    Controls &u = t_.ui;
    ListOwner *owner = t_.screens->listOwner();
    if (!owner)
        return;
    // No touch may act in the middle of rebuilding the text and the panels.
    // Disabling the window takes the focus from the text box; it is given
    // back when the window is enabled again.
    u.frmTalk->setEnabled(false);
    const bool restoreBlock = owner->decide(t_.st.ListRow);
    u.frmTalk->setEnabled(true);
    u.txtTalk->setFocus();
    // Back to the text with the block restored.
    if (restoreBlock && u.txtTalk->selLength() == 0)
        compose_.sendKeys(QStringLiteral("+{RIGHT}"));
}

} // namespace kel

// day.txt through the diary list: LoadDiary, ShowDiaryList, SaveDiary.

#include "diary/DiaryScreens.h"

#include "base/AnsiText.h"
#include "diary/DiaryFile.h"
#include "diary/DiaryTexts.h"
#include "frame/FrmOK.h"
#include "widgets/FlexGrid.h"
#include "widgets/TwipsLayout.h"

namespace kel {
namespace {

constexpr int kDateCol = 0;
constexpr int kEntryCol = 1;

} // namespace

void DiaryScreens::LoadDiary()
{
    FlexGrid &g = *t_.ui.grdDay;
    g.setRedraw(false);
    g.setRows(0); // drops every text and highlight of the last build
    g.setCols(2);

    const QRect board = t_.layout.rect(t_.ui.grdBoard);
    t_.layout.setRect(&g, board);
    g.setColWidth(kDateCol, kDateColumnTwips);
    g.setColWidth(kEntryCol, board.width() - kDateColumnTwips - kDiaryScrollBarTwips);

    ListFileText file = readListFile(t_.dataFile(kDiaryFileName));
    // Today is taken now, so a list left open over midnight keeps its day.
    const std::vector<DiaryRowData> rows = parseDiary(file.text, diaryDate(t_.sv.today()));
    file.text.clear(); // only the bytes are kept, to compare with at the store
    fileAsRead_ = std::move(file);
    fillList(rows);
    g.setRedraw(true);
}

void DiaryScreens::fillList(const std::vector<DiaryRowData> &rows)
{
    FlexGrid &g = *t_.ui.grdDay;
    // One resize for the whole file: ten years of days are 3,650 rows.
    g.setRows(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        g.setTextMatrix(r, kDateCol, rows[r].date);
        g.setTextMatrix(r, kEntryCol, rows[r].entry);
    }
}

void DiaryScreens::ShowDiaryList()
{
    FlexGrid &g = *t_.ui.grdDay;
    g.setRedraw(false);
    g.reorderRows(diaryOrder(listRows(), diaryDate(t_.sv.today())));
    t_.st.ListRow = 0;
    if (g.Rows() > 0) {
        g.setRow(0);
        g.setCol(kEntryCol);
        g.setCellBackColor(kHighlightGreen);
    }
    g.setRedraw(true);
    g.setTopRow(0);
}

std::vector<DiaryRowData> DiaryScreens::listRows() const
{
    const FlexGrid &g = *t_.ui.grdDay;
    std::vector<DiaryRowData> rows;
    rows.reserve(size_t(g.Rows()));
    for (int r = 0; r < g.Rows(); ++r)
        rows.push_back({g.TextMatrix(r, kDateCol), g.TextMatrix(r, kEntryCol)});
    return rows;
}

bool DiaryScreens::SaveDiary(const QString &text)
{
    std::vector<DiaryRowData> rows = listRows();
    const int diaryRow = t_.st.DiaryRow;
    if (!rows.empty())
        t_.st.CellText = int(rows.size()) - 1 == diaryRow ? text : rows.back().entry;

    // Another day's entry holding a character the file cannot keep came
    // from the file, not from the user: one question, then "？" in its place.
    QStringList lines;
    for (const DiaryRowData &row : rows)
        lines << row.date + u' ' + row.entry;
    const qsizetype stored = firstUnencodableStoredLine(lines, diaryRow);
    if (stored >= 0) {
        AskUser(t_, askReplaceUnencodable(lines.at(stored)), kAskYesNo, kTitleDiaryEnd);
        if (!t_.st.AskAnswer)
            return false; // the file stays as it is
        for (int r = 0; r < int(rows.size()); ++r) {
            if (r == diaryRow)
                continue;
            rows[r] = {replaceUnencodable(rows[r].date), replaceUnencodable(rows[r].entry)};
            t_.ui.grdDay->setTextMatrix(r, kDateCol, rows[r].date);
            t_.ui.grdDay->setTextMatrix(r, kEntryCol, rows[r].entry);
        }
    }

    const EncodedFile file = encodeDiary(rows, diaryRow, text);
    OutsideChange outside;
    const std::optional<StoreProblem> problem =
        storeListFile(t_.dataFile(kDiaryFileName), fileAsRead_, file, &outside);
    if (!problem) {
        if (outside.kind != OutsideChange::None)
            notice(outsideChangeNotice(kDiaryFileName, outside));
        return true;
    }
    notice(noticeFor(*problem, {kNoticeDiaryUnreadable, kNoticeDiaryNotSaved}));
    return false;
}

void DiaryScreens::notice(const QString &message)
{
    AskUser(t_, message, kAskNotice, kTitleDiaryEnd);
}

} // namespace kel

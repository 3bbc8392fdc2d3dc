// The diary screens: the list opened from the example list, an entry opened
// for reading, revising it on the board, going back to the list, and
// closing the diary with or without storing.

#include "diary/DiaryScreens.h"

#include "samples/SampleScreens.h"

#include "diary/DiaryTexts.h"
#include "frame/FrmOK.h"
#include "frame/TextPanel.h"
#include "samples/SampleTexts.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {
namespace {

// Where the diary panel and its "戻る" stand when an entry is open.
constexpr QRect kDiaryPanelTwips(3300, 6420, 6375, 1695);
constexpr QRect kBackButtonTwips(3300, 240, 2715, 1215);

} // namespace

void DiaryScreens::openDiaryList()
{
    // The caller has disabled the window and enables it again.
    LoadDiary();
    ShowDiaryList();
    Controls &u = t_.ui;
    u.cmdSamp->setText(kCaptionDiary);
    u.cmdSampADD->hide();
    u.cmdSampDel->hide();
    u.grdEx->hide();
}

void DiaryScreens::openEntry()
{
    Controls &u = t_.ui;
    // The highlighted row is both the one shown and the one a store
    // replaces, so the two can never differ.
    const int row = t_.st.ListRow;
    if (row < 0 || row >= u.grdDay->Rows())
        return;
    const QString entry = trimSpaces(u.grdDay->TextMatrix(row, 1));
    t_.st.CellText = entry;
    u.txtTalk->setText(entry);
    u.txtTalk->setSelStart(entry.size());
    t_.st.DiaryRow = row;

    placeDiaryPanel(false);
    u.fraDay->show();
    u.txtTalk->setBackColor(kHighlightGreen);
    setTextPanelWide(t_, true);
    u.grdDay->hide();
}

void DiaryScreens::placeDiaryPanel(bool revising)
{
    // The editing keys and the diary panel share one place, and revising
    // needs both the keys and "戻る". So while revising, "戻る" alone stands
    // where "例文追加" stands in board mode (the diary hides that button),
    // above "日記終了"; "修正する" has done its work and goes.
    Controls &u = t_.ui;
    if (revising) {
        const QRect slot = t_.layout.rect(u.cmdSampADD);
        t_.layout.setRect(u.fraDay, slot);
        t_.layout.setRect(u.cmdBack, QRect(QPoint(0, 0), slot.size()));
    } else {
        t_.layout.setRect(u.fraDay, kDiaryPanelTwips);
        t_.layout.setRect(u.cmdBack, kBackButtonTwips);
    }
    u.cmdRevise->setVisible(!revising);
}

void DiaryScreens::cmdRevise_Click()
{
    Controls &u = t_.ui;
    setTextPanelNarrow(t_);
    u.txtTalk->setBackColor(u.cmdSamp->text() == kCaptionDiary ? kHighlightGreen : kRevisingBlue);
    const qsizetype length = u.txtTalk->text().size();
    u.txtTalk->setSelStart(length > 0 ? length - 1 : 0);
    u.grdBoard->show();
    u.fraRes->show();
    placeDiaryPanel(true);
    u.txtTalk->setSelLength(1);
    u.txtTalk->setFocus();
}

void DiaryScreens::cmdBack_Click()
{
    Controls &u = t_.ui;
    if (u.cmdSamp->text() == kCaptionDiary) {
        // Read again: edits that were not stored do not appear in the list.
        LoadDiary();
        ShowDiaryList();
    }
    setTextPanelNarrow(t_);
    u.fraDay->hide();
    u.fraTalk->show();
    u.txtTalk->setFocus();
}

void DiaryScreens::closeDiary()
{
    Controls &u = t_.ui;
    if (u.grdDay->isHidden()) {
        AskUser(t_, kAskStoreDiary, kAskYesNo, kTitleDiaryEnd);
        // A store that did not happen keeps the diary open with the text,
        // so that the user can change it and store again, or leave with NO.
        if (t_.st.AskAnswer && !SaveDiary(u.txtTalk->text()))
            return;
    }
    setTextPanelNarrow(t_);
    t_.samples->closeList();
    u.fraDay->hide();
}

} // namespace kel

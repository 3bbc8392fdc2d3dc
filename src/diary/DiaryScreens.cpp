// The diary screens: the list opened from the example list, an entry opened
// for reading, revising it on the board, going back to the list, and
// closing the diary with or without storing.

#include "diary/DiaryScreens.h"

#include "base/AnsiText.h"
#include "diary/DiaryTexts.h"
#include "frame/FrmOK.h"
#include "frame/Screens.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {

void DiaryScreens::openDiaryList()
{
    // The caller has disabled the window and enables it again.
    LoadDiary();
    ShowDiaryList();
    t_.screens->ask(ScreenEvent::DiaryOpened);
}

bool DiaryScreens::decide(int row)
{
    Controls &u = t_.ui;
    // The highlighted row is both the one shown and the one a store
    // replaces, so the two can never differ.
    if (row < 0 || row >= u.grdDay->Rows())
        return true;
    const QString entry = trimSpaces(u.grdDay->TextMatrix(row, 1));
    t_.st.CellText = entry;
    u.txtTalk->setText(entry);
    u.txtTalk->setSelStart(entry.size());
    t_.st.DiaryRow = row;

    t_.screens->ask(ScreenEvent::EntryOpened);
    u.txtTalk->setBackColor(kHighlightGreen);
    return true;
}

void DiaryScreens::cmdRevise_Click()
{
    Controls &u = t_.ui;
    // While the diary is open the caption says "日記終了" (always, since
    // "修正する" shows only there).
    u.txtTalk->setBackColor(u.cmdSamp->text() == kCaptionDiary ? kHighlightGreen : kRevisingBlue);
    const qsizetype length = u.txtTalk->text().size();
    u.txtTalk->setSelStart(length > 0 ? length - 1 : 0);
    t_.screens->ask(ScreenEvent::RevisionStarted);
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
    // Whatever showed while revising (the suggestions too) goes: the list
    // alone is what "決定" takes.
    t_.screens->ask(ScreenEvent::BackToDiaryList);
    u.txtTalk->setFocus();
}

void DiaryScreens::closeDiary()
{
    Controls &u = t_.ui;
    if (t_.screens->current() != Screen::DiaryList) {
        AskUser(t_, kAskStoreDiary, kAskYesNo, kTitleDiaryEnd);
        // A store that did not happen keeps the diary open with the text,
        // so that the user can change it and store again, or leave with NO.
        if (t_.st.AskAnswer && !SaveDiary(u.txtTalk->text()))
            return;
    }
    t_.screens->ask(ScreenEvent::DiaryClosed);
    u.txtTalk->setBackColor(Qt::white);
}

} // namespace kel

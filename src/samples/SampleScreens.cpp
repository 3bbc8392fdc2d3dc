// The example-sentence screens: the mode button with its three captions,
// the list over the board, "例文追加", "例文削除" and "始め".

#include "samples/SampleScreens.h"

#include "base/AnsiText.h"
#include "board/BoardLayout.h"
#include "compose/BoxText.h"
#include "compose/TextOps.h"
#include "diary/DiaryScreens.h"
#include "frame/FrmOK.h"
#include "frame/Screens.h"
#include "samples/SampleFile.h"
#include "samples/SampleTexts.h"
#include "widgets/ColorButton.h"
#include "widgets/FlexGrid.h"
#include "widgets/Platform.h"
#include "widgets/TalkBox.h"
#include "widgets/TwipsLayout.h"

#include <QFrame>

namespace kel {
namespace {

// A sentence as Talk.txt gives it back: the file format has no escape for
// a double quote, so every one is dropped on reading.
QString storedForm(QString sentence)
{
    sentence.remove(u'"');
    return trimSpaces(sentence);
}

void ensureEndMarker(TalkBox &box)
{
    const QString text = box.text();
    if (text.endsWith(kEndMarker))
        return;
    const qsizetype start = box.selStart();
    const qsizetype length = box.selLength();
    box.setText(text + kEndMarker);
    box.setSelStart(start);
    box.setSelLength(length);
}

} // namespace

void SampleScreens::cmdSamp_MouseDown()
{
    t_.ui.cmdSamp->setBackColor(kSampPressed);
}

void SampleScreens::cmdSamp_MouseUp()
{
    t_.ui.cmdSamp->setBackColor(kSampReleased);
}

void SampleScreens::cmdSamp_Click()
{
    t_.sv.platform->busyPointer();
    // Touches queued while the list is rebuilt must not act afterwards.
    t_.ui.frmTalk->setEnabled(false);
    t_.screens->ask(ScreenEvent::TextNarrowed);

    const QString caption = t_.ui.cmdSamp->text();
    if (caption == kCaptionBoard)
        openList();
    else if (caption == kCaptionList)
        closeList();
    else if (caption == kCaptionDiary)
        diary_.closeDiary();

    t_.ui.frmTalk->setEnabled(true);
    t_.ui.txtTalk->setFocus();
    ensureEndMarker(*t_.ui.txtTalk);
    t_.sv.platform->normalPointer();
}

void SampleScreens::openList()
{
    FlexGrid &g = *t_.ui.grdEx;
    g.setRedraw(false);
    placeListOverBoard();
    LoadSamples();
    ListSamples();
    g.setTextMatrix(0, 1, kDiaryCell);
    highlightRow(0);
    g.setRedraw(true);
    showListControls();
}

void SampleScreens::closeList()
{
    t_.screens->ask(ScreenEvent::ExamplesClosed);
    t_.ui.txtTalk->setBackColor(Qt::white);
}

bool SampleScreens::decide(int row)
{
    const QString cell = t_.ui.grdEx->TextMatrix(row, 1);
    t_.st.CellText = cell;
    if (cell == kDiaryCell) {
        // The list stays with "△", "▽", "決定" for the diary.
        diary_.openDiaryList();
        return false;
    }
    TalkBox &box = *t_.ui.txtTalk;
    const QString before = box.text();
    const TextEdit edit = insertAtCaret(before, box.selStart(), trimSpaces(cell));
    replaceBoxText(box, before, edit.text);
    box.setSelStart(edit.caret);
    t_.screens->ask(ScreenEvent::SentenceTaken);
    return true;
}

void SampleScreens::showListControls()
{
    t_.screens->ask(ScreenEvent::ExamplesOpened);
    // The scroll range is right only once the grid shows at its new size.
    t_.ui.grdEx->setTopRow(t_.st.ListRow);
}

void SampleScreens::placeListOverBoard()
{
    FlexGrid &g = *t_.ui.grdEx;
    const QRect board = t_.layout.rect(t_.ui.grdBoard);
    t_.layout.setRect(&g, board);
    g.setCols(2);
    g.setColWidth(0, kLabelTwips);
    g.setColWidth(1, board.width() - kLabelTwips - kScrollBarTwips);
}

void SampleScreens::highlightRow(int row)
{
    FlexGrid &g = *t_.ui.grdEx;
    t_.st.ListRow = row;
    g.setRow(row);
    g.setCol(1);
    g.setCellBackColor(kHighlightGreen);
    g.setTopRow(row);
}

int SampleScreens::findSentenceRow(const QString &sentence)
{
    const int rows = t_.ui.grdEx->Rows();
    for (int r = 0; r < rows; ++r) {
        t_.st.CellText = sentenceCell(r);
        if (trimSpaces(t_.st.CellText) == sentence)
            return r;
    }
    return -1;
}

void SampleScreens::cmdSampADD_Click()
{
    const QString text = t_.ui.txtTalk->text();
    const QString trimmedText = trimSpaces(text);
    if (trimmedText.isEmpty() || trimmedText == kEndMarker)
        return;
    t_.sv.platform->busyPointer();

    const QString sentence = trimSpaces(oneLine(text.endsWith(kEndMarker) ? text.chopped(1) : text));
    const QString stored = storedForm(sentence);
    if (stored.isEmpty()) { // nothing but quotes: nothing would be kept
        t_.sv.platform->normalPointer();
        return;
    }
    // Compared as the file would give it back, so that "a"b" cannot come
    // back as a second ab.
    if (findSentenceRow(stored) >= 0) {
        AskUser(t_, kNoticeDuplicate, kAskNotice, kTitleAdd);
        return;
    }
    FlexGrid &g = *t_.ui.grdEx;
    g.setRedraw(false);
    const int added = g.Rows();
    g.setRows(added + 1);
    g.setTextMatrix(added, 1, sentence);
    const bool saved = SaveSamples(added);
    // Rebuilt from the file whether or not the save worked, so that the
    // list never shows a sentence the file does not hold.
    LoadSamples();
    ListSamples();
    if (!saved) {
        g.setRedraw(true);
        t_.sv.platform->normalPointer();
        return;
    }

    g.setTextMatrix(0, 1, kDiaryCell);
    const int row = findSentenceRow(stored);
    highlightRow(row >= 0 ? row : 0);
    placeListOverBoard();
    g.setRedraw(true);
    showListControls();
    t_.sv.platform->normalPointer();
}

void SampleScreens::cmdSampDel_Click()
{
    FlexGrid &g = *t_.ui.grdEx;
    const int row = t_.st.ListRow;
    if (row < 0 || row >= g.Rows())
        return;
    const QString cell = sentenceCell(row);
    t_.st.CellText = cell;
    const QString trimmed = trimSpaces(cell);
    // An emptied row has nothing left to delete; the diary row is never
    // deleted, and the user is told why rather than left to wonder.
    if (trimmed.isEmpty())
        return;
    if (trimmed == kDiaryCell || trimmed == kMemoCell) {
        AskUser(t_, noticeNotDeletable(trimmed), kAskNotice, kTitleDelete);
        return;
    }

    AskUser(t_, askDeleteOf(trimmed), kAskOkCancel, kTitleDelete, true);
    if (!t_.st.AskAnswer)
        return;

    g.setRedraw(false);
    g.setTextMatrix(row, 1, QString());
    if (!SaveSamples())
        g.setTextMatrix(row, 1, cell); // the file still holds it
    g.setRedraw(true);
}

void SampleScreens::cmdStart_Click()
{
    AskUser(t_, kAskStartOver, kAskOkCancel, kTitleAdd);
    if (!t_.st.AskAnswer)
        return;

    t_.ui.txtTalk->setText(QString());
    FlexGrid &g = *t_.ui.grdBoard;
    g.setRedraw(false);
    for (int r = 0; r < kBoardRows; ++r) {
        for (int c = 0; c <= t_.st.MaxC; ++c) {
            g.setRow(r);
            g.setCol(c);
            g.setCellBackColor(Qt::white);
        }
    }
    g.setRedraw(true);
}

} // namespace kel

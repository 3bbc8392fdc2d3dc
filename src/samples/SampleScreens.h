#pragma once
// The example-sentence list: loading and saving Talk.txt through the list
// grid, opening and closing the list, adding, deleting, and "始め".

#include "base/TextFileIO.h"
#include "frame/Screens.h"
#include "frame/Talk.h"

#include <QString>

namespace kel {

class DiaryScreens;

// Also the owner of the example list.
class SampleScreens : public ListOwner {
public:
    SampleScreens(Talk &t, DiaryScreens &diary) : t_(t), diary_(diary) {}

    // Rebuilds Samples and grdEx from Talk.txt. A missing file is created
    // (with the everyday sentences on a fresh installation); the placeholder
    // row is added when the file lacks it; a file that cannot be read or is
    // not valid text is shown as well as possible and never overwritten.
    void LoadSamples();
    // False when the file could not be written (the user has been told) or
    // the user chose to keep it as it is. `typedRow` is the row the user
    // has just added; any other row that code page 932 cannot hold came
    // from the file, and the user is asked once whether to write "？" for
    // its characters.
    bool SaveSamples(int typedRow = -1);
    // Sorts grdEx (placeholder first) and writes the kana-row labels.
    void ListSamples();

    void cmdSamp_MouseDown();
    void cmdSamp_MouseUp();
    void cmdSamp_Click();
    void cmdSampADD_Click();
    void cmdSampDel_Click();
    void cmdStart_Click();

    // Back to board mode: the board and the editing keys, "例文表示".
    void closeList();
    // "決定" on the example list: the "日記" row opens the diary list, any
    // other row's sentence goes in at the caret and the board returns.
    bool decide(int row) override;

private:
    // Screen modes after the caption of cmdSamp.
    void openList();
    // The "list open" screen: the example list alone in the board's place.
    void showListControls();
    void placeListOverBoard();
    // ListRow, the green sentence cell and the scroll position.
    void highlightRow(int row);
    // The first row whose trimmed sentence equals `sentence`, or -1; leaves
    // the last cell tested in CellText.
    int findSentenceRow(const QString &sentence);

    QString sentenceCell(int row) const;
    QStringList sentenceCells() const;
    void fillGrid(const QStringList &sentences);
    void notice(const QString &message);

    Talk &t_;
    DiaryScreens &diary_;
    // Set by LoadSamples when Talk.txt exists but could not be read or is
    // not valid text: saving over it would destroy what the user has.
    ListFileText asRead_;   // how Talk.txt read at the last load
};

} // namespace kel

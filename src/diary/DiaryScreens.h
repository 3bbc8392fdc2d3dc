#pragma once
// The diary: day.txt through the diary list, opening, revising, going back
// and storing an entry.

#include "base/TextFileIO.h"
#include "frame/Screens.h"
#include "frame/Talk.h"

#include <vector>

namespace kel {

struct DiaryRowData;

// Also the owner of the diary list.
class DiaryScreens : public ListOwner {
public:
    explicit DiaryScreens(Talk &t) : t_(t) {}

    // Lays grdDay over the board and fills it from day.txt, today's row
    // first when the newest record is older (or there is none).
    void LoadDiary();
    // Newest first; row 0 highlighted and scrolled to.
    void ShowDiaryList();
    // Rewrites day.txt from the list with row DiaryRow's entry replaced by
    // `text`. False when nothing was stored (the user has been told why).
    bool SaveDiary(const QString &text);

    // "決定" on the "日記" row of the example list.
    void openDiaryList();
    // "決定" on a row of the diary list: its entry opens.
    bool decide(int row) override;
    void cmdRevise_Click();
    void cmdBack_Click();
    // The "日記終了" branch of the example-sentence button.
    void closeDiary();

private:
    void fillList(const std::vector<DiaryRowData> &rows);
    std::vector<DiaryRowData> listRows() const;
    void notice(const QString &message);

    Talk &t_;
    // How day.txt was when the list was last read: a file that could not be
    // read correctly is never written over.
    ListFileText fileAsRead_;
};

} // namespace kel

#pragma once
// The diary: day.txt through the diary list, opening, revising, going back
// and storing an entry.

#include "app/Talk.h"

namespace kel {

class DiaryScreens {
public:
    explicit DiaryScreens(Talk &t) : t_(t) {}

    void LoadDiary();
    void ShowDiaryList();
    // False when nothing was stored (the user has been told why).
    bool SaveDiary(const QString &text);

    // "決定" on the "日記" row of the example list.
    void openDiaryList();
    // "決定" on a row of the diary list.
    void openEntry();
    void cmdRevise_Click();
    void cmdBack_Click();
    // The "日記終了" branch of the example-sentence button.
    void closeDiary();

private:
    Talk &t_;
};

} // namespace kel

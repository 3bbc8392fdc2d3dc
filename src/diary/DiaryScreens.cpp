#include "diary/DiaryScreens.h"

namespace kel {

void DiaryScreens::LoadDiary() {}
void DiaryScreens::ShowDiaryList() {}
bool DiaryScreens::SaveDiary(const QString &) { return true; }
void DiaryScreens::openDiaryList() {}
void DiaryScreens::openEntry() {}
void DiaryScreens::cmdRevise_Click() {}
void DiaryScreens::cmdBack_Click() {}
void DiaryScreens::closeDiary() {}

} // namespace kel

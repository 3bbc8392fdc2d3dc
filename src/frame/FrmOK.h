#pragma once
// The program's own question dialog: large touch buttons, one of three
// button sets, the answer left in AppState::AskAnswer.

#include "frame/Talk.h"

namespace kel {

// Codes of the button sets.
inline constexpr int kAskOkCancel = 33;
inline constexpr int kAskYesNo = 36;
inline constexpr int kAskNotice = 48;

// `safeDefault`: Enter (or a stray key) takes the second button, the answer
// that leaves everything as it is, instead of the first.
void AskUser(Talk &t, const QString &message, int code, const QString &title, bool safeDefault = false);

// The same large question where no main window exists yet (a start that
// finds another copy), with its own captions; true only for `yes`. The
// default button, taken by Enter, is `no`.
bool askBeforeWindow(const QString &message, const QString &title, const QString &yes, const QString &no);

} // namespace kel

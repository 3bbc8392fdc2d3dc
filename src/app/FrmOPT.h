#pragma once
// The options dialog "オプション", opened by "設定".

#include "app/Talk.h"

namespace kel {

void showOptions(Talk &t);

} // namespace kel

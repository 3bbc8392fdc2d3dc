#include "app/FrmOPT.h"

namespace kel {

void showOptions(Talk &) {}

} // namespace kel

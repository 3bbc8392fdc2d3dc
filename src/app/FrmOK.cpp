#include "app/FrmOK.h"

namespace kel {

void AskUser(Talk &t, const QString &, int, const QString &)
{
    t.st.AskAnswer = false;
}

} // namespace kel

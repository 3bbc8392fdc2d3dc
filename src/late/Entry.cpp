// The late module's one entry point: it hands the program every function
// its parts registered when it was loaded.
#include "base/LateModule.h"

extern "C" Q_DECL_EXPORT void kelvoran_late_hand_over(kel::AddLateFunction add)
{
    kel::handOverLateFunctions(add);
}

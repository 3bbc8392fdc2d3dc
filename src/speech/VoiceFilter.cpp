#include "speech/VoiceFilter.h"

namespace kel {

bool shouldSpeak(int opt3, const QString &mode)
{
    const bool entered = mode == u"E";
    const bool selected = mode == u"S";
    switch (opt3) {
    case 1:
        return entered || selected;
    case 2:
        return entered;
    case 3:
        return false;
    default: // 0
        return true;
    }
}

} // namespace kel

#include "speech/VoiceFilter.h"

namespace kel {

bool shouldSpeak(const QString &opt3, const QString &mode)
{
    bool isNumber = false;
    const int level = opt3.trimmed().toInt(&isNumber);
    if (!isNumber)
        return true; // an unreadable option must not silence the user
    const bool entered = mode == u"E";
    const bool selected = mode == u"S";
    switch (level) {
    case 1:
        return entered || selected;
    case 2:
        return entered;
    case 3:
        return false;
    default: // 0 and any other number: always
        return true;
    }
}

} // namespace kel

#include "app/EndQuestion.h"

#include "base/AnsiText.h"
#include "compose/TextOps.h"

namespace kel {

QString messageOf(const QString &boxText)
{
    const QString text = boxText.endsWith(kEndMarker) ? boxText.chopped(1) : boxText;
    return trimSpaces(text);
}

bool endLosesText(const QString &boxText, const QString &settled, const QStringList &stored)
{
    const QString message = messageOf(boxText);
    return !message.isEmpty() && message != settled && !stored.contains(trimSpaces(oneLine(message)));
}

} // namespace kel

#include "widgets/Fonts.h"

#include <QFont>
#include <QString>

namespace kel {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QString::fromUtf8(kGothic), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QString::fromUtf8(kPGothic), QStringLiteral("IPAPGothic"));
}

} // namespace kel

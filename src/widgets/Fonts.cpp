#include "widgets/Fonts.h"

#include <QFont>
#include <QString>

namespace kel {

void installFontSubstitutions()
{
    // The IPA fonts have no bold face: Qt thickens the glyphs itself, but
    // only those it keeps in its glyph cache, by default up to 64 pixels;
    // larger text is drawn from outlines, not thickened, and the text box
    // lost its bold type in full screen (34 pt at 1280 x 800 is 67 px).
    // The cache takes glyphs up to 512 px (a 4K screen's 55 pt text):
    // only the sizes in use cost memory. Read once, at the first text drawn.
    if (!qEnvironmentVariableIsSet("QT_MAX_CACHED_GLYPH_SIZE"))
        qputenv("QT_MAX_CACHED_GLYPH_SIZE", "512");
    QFont::insertSubstitution(QString::fromUtf8(kGothic), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QString::fromUtf8(kPGothic), QStringLiteral("IPAPGothic"));
}

} // namespace kel

#pragma once
// Qt's own texts (the file dialog's "Look in", "Save", "Cancel", a spin
// box's menu) in Japanese, whatever the user's locale: every other text of
// the program is Japanese too. The translations come from the system's Qt
// translations package (qt6-translations-l10n).

class QTranslator;

namespace kel {

// Loads "qtbase_ja" (and "qtmultimedia_ja") from Qt's translations folder
// into the application; false when the package is missing, and Qt's texts
// then stay English.
bool loadQtJapanese();

} // namespace kel

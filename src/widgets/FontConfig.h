#pragma once
// The font system sees only the fonts the program draws with.
//
// The system's configuration makes every start read some forty rule files
// and list every installed font before the first character can be drawn,
// and every new font size then runs through all those rules again; on a
// machine with many fonts that is most of the start-up. The program draws
// only with the IPA Gothic fonts (and DejaVu for Qt's own dialogs), so it
// gives the font system just those folders and the few rendering rules the
// system would apply to them anyway.
#include <QStringList>

namespace kel {

// The folders given to the font system: the IPA Gothic folder, then the
// DejaVu one where it exists. Empty when IPA Gothic is not where Debian
// puts it: the system's configuration is used then.
QStringList programFontFolders();

// The configuration text for those folders (fontconfig's XML).
QByteArray programFontConfig(const QStringList &folders);

// Makes that configuration the current one, unless the user has chosen a
// configuration of their own (FONTCONFIG_FILE) or the fonts are not where
// expected. Call before the first font is used. Returns whether it did.
// A configuration of the user's that is, or includes, something other
// than a regular file is not used at all (the font system would read a
// FIFO or /dev/zero for ever): the log says so in one line.
bool useProgramFonts();

// True when the configuration file `path` and every file it includes,
// however deep, are regular files of a sane size; otherwise the first one
// that is not, in `offending`.
bool fontConfigFilesAreRegular(const QString &path, QString *offending = nullptr);

// Once the application exists, with a configuration not the program's own:
// says in one line in the log when no font can show Japanese (every
// character would be drawn as a box).
void sayIfNoJapaneseFont();

} // namespace kel

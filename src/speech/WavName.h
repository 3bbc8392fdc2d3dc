#pragma once
// Where the recorded voice of a character lives: the program folder, "/",
// the text itself, ".wav". The text is used unchanged, so "あ", "ア", "A" and
// "a" are four different files and "(^_^)" is the file "(^_^).wav".

#include <QString>

#include <functional>
#include <optional>

namespace kel {

// wavPathFor("/opt/talk", "か")     -> "/opt/talk/か.wav"
// wavPathFor("/opt/talk", "(^_^)") -> "/opt/talk/(^_^).wav"
// wavPathFor("/opt/talk", "/")     -> nullopt (would name "/opt/talk/.wav")
// nullopt whenever the text cannot be a single file name here: empty, a path
// separator, NUL, CR or LF, or half of a surrogate pair without its partner.
std::optional<QString> wavPathFor(const QString &appPath, const QString &ch);

// `text` fit to be shown or printed: control and format characters (an
// escape sequence, a right-to-left override), the line and paragraph
// separators U+2028 and U+2029 (a line break to a terminal), and broken surrogates are
// spelled out as their code, so ESC "[2J" reads `\x1b[2J` and U+202E reads
// `\u202e`; everything else, "か" included, is kept.
QString printable(const QString &text);

// The file that voices `ch`: the user's own recording in the data folder
// when there is one, else the installed default set's; nullopt when neither
// holds it. An empty folder is skipped. A folder without the file but with
// one of its heights ("か.high.wav", speech/MoraHeights.h) gives that height.
// soundFileFor("/home/u/kel", "/usr/share/kelvoran/voices", "か")
//   -> "/home/u/kel/か.wav" when it exists,
//   -> "/usr/share/kelvoran/voices/か.wav" when only that one exists.
std::optional<QString> soundFileFor(const QString &userFolder, const QString &defaultSet, const QString &ch,
                                    const std::function<bool(const QString &)> &isFile);
std::optional<QString> soundFileFor(const QString &userFolder, const QString &defaultSet, const QString &ch);

// The installed default set of a program in `programDir`: the package's
// "<prefix>/share/kelvoran/voices" beside "<prefix>/bin", else the set the
// build makes beside the program ("voices"). The installed place when
// neither exists.
QString defaultSoundSetFolder(const QString &programDir, const std::function<bool(const QString &)> &isDir);

} // namespace kel

#pragma once
// Where the recorded voice of a character lives: the program folder, "/",
// the text itself, ".wav". The text is used unchanged, so "あ", "ア", "A" and
// "a" are four different files and "(^_^)" is the file "(^_^).wav".

#include <QString>

#include <optional>

namespace kel {

// wavPathFor("/opt/talk", "か")     -> "/opt/talk/か.wav"
// wavPathFor("/opt/talk", "(^_^)") -> "/opt/talk/(^_^).wav"
// wavPathFor("/opt/talk", "/")     -> nullopt (would name "/opt/talk/.wav")
// nullopt whenever the text cannot be a single file name here: empty, a path
// separator, NUL, CR or LF, or half of a surrogate pair without its partner.
std::optional<QString> wavPathFor(const QString &appPath, const QString &ch);

} // namespace kel

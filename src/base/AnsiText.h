#pragma once
// The text-file layer under Talk.txt and day.txt: code page 932 conversion,
// line splitting, the quoted record and reading (saving is base/SaveFile.h).
//
// Both files are "ANSI" text written by and for a Japanese Windows program,
// so they are code page 932 (Shift-JIS with the Microsoft extensions:
// ～ is 81 60, － is 81 7C, ① is 87 40). A file that someone re-saved as UTF-8
// in an editor is still read, and is written back as code page 932.

#include "base/SaveFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace kel {

// --- Code page 932 ----------------------------------------------------------

// The bytes of `text` in code page 932, or nullopt when any character has no
// code there (an emoji, ゔ U+3094, a lone surrogate ...). The usual Unicode
// forms of its characters are written as the form it holds:
//   〜 U+301C -> ～ 81 60,  − U+2212 -> － 81 7C,  ‖ U+2016 -> ∥ 81 61,
//   — U+2014 -> ― 81 5C,  ¢ £ ¬ -> ￠ ￡ ￢ 81 91, 81 92, 81 CA
std::optional<QByteArray> encodeCp932(const QString &text);

// The first character of `text` that code page 932 cannot hold (a whole
// surrogate pair for characters outside the BMP), or an empty string when
// every character fits. Meant for the notice that tells the user what to change.
QString firstUnencodableCharacter(const QString &text);

// `text` with every character code page 932 cannot hold replaced by "？":
//   "ゔぁ😀" -> "？ぁ？"
QString replaceUnencodable(const QString &text);

struct DecodedText {
    enum Source {
        Cp932,   // code page 932; also every empty or pure-ASCII file
        Utf8,    // UTF-8 with a byte-order mark, or strictly valid UTF-8 with non-ASCII
        Invalid, // neither: the file must not be overwritten
    };
    QString text;   // for Invalid: a best-effort code page 932 reading
    Source source = Cp932;
};

// Recognises the file's encoding and decodes it. A Japanese code page 932
// file is practically never valid UTF-8, so valid UTF-8 with non-ASCII bytes
// is taken as UTF-8. A trailing lone lead byte or an unmapped byte makes the
// file Invalid.
DecodedText decodeTextFile(const QByteArray &bytes);

// --- Lines and records -------------------------------------------------------

// Lines end at CR LF, a lone CR or a lone LF; a last line without terminator
// counts; a final terminator does not produce an empty last line.
//   "a\r\nb\rc\nd"  -> ["a", "b", "c", "d"]
//   "a\r\n\r\n"     -> ["a", ""]
QStringList splitLines(const QString &text);

// Removes ASCII spaces (0x20) at both ends and nothing else: the ideographic
// space U+3000 is what an empty board cell enters, so it is content.
QString trimSpaces(const QString &text);

// A record is one line: each line break in a text to store (CR LF, CR or
// LF, from a paste or a keyboard's Enter) becomes one space.
//   "くもり\r\nはれ\n" -> "くもり はれ "
QString oneLine(const QString &text);

// One record as the program writes it: a double quote, `text` on one line
// (oneLine), a double quote, CR LF. nullopt when code page 932 cannot hold
// the text.
//   encodeRecord("こんにちは") -> 22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A
std::optional<QByteArray> encodeRecord(const QString &text);

// What an encoder of a whole file returns: the bytes, or the first text that
// could not be encoded (then `bytes` is empty and nothing may be written).
struct EncodeFailure {
    QString text;      // the whole sentence or entry
    QString character; // the first character code page 932 cannot hold
};
struct EncodedFile {
    QByteArray bytes;
    std::optional<EncodeFailure> failure;
    bool ok() const { return !failure.has_value(); }
};

// --- Files --------------------------------------------------------------------

struct LoadedFile {
    enum Status {
        Read,       // `bytes` holds the whole file
        Missing,    // no file at that path
        Unreadable, // something is there but could not be read: never overwrite it
        NotRegular, // a link, FIFO or device: never read, never written through
        TooLarge,   // over the file's limit (StoredFile.h): not read, never overwritten
    };
    Status status = Missing;
    QByteArray bytes;
};
LoadedFile loadTextFile(const QString &path);


} // namespace kel

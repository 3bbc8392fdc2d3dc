#pragma once
// A failed file operation told in words a caregiver can act on. The system
// says "No space left on device" or "Permission denied", in English; the
// windows say why in Japanese and what to do, and the system's own words
// go to the log (standard error, the journal under a desktop session).
//   japaneseReason("No space left on device")
//     -> "ディスクがいっぱいです。いらないファイルを消して、もう一度お試しください。"

#include <QString>

namespace kel {

enum class FileFault {
    DiskFull,     // no space left, quota used up
    NoPermission, // refused, or a disk mounted read-only
    Missing,      // the file or a folder on its way is gone
    NameTooLong,
    Other,
};

// The fault the system's words name (as Qt's errorString() and strerror()
// give them); Other for words of no known fault.
FileFault faultOf(const QString &systemWords);

// The fault in a few Japanese words, without a full stop: "ディスクがいっぱいです".
QString faultSummary(FileFault fault);

// The Japanese reason, ending in what to do: the summary, then the advice.
QString reasonFor(FileFault fault);

// faultOf and reasonFor (or faultSummary) in one, the system's words
// written to the log.
QString japaneseReason(const QString &systemWords);
QString japaneseSummary(const QString &systemWords);

// `message` with the system's words for a known fault inside it replaced by
// the Japanese summary ("「a」を開けません（No such file or directory）" ->
// "「a」を開けません（ファイルかフォルダが見つかりません）"); the message as it
// was goes to the log when anything was replaced. A message wholly in the
// system's words ("Write error") becomes the Japanese summary of its fault.
QString japaneseWords(const QString &message);

} // namespace kel

#pragma once
// Talk.txt, the example sentences: one quoted code page 932 record per line.
//   こんにちは  <->  22 82 B1 82 F1 82 C9 82 BF 82 CD 22 0D 0A
// The placeholder record holds the list's diary row; it must never be lost.

#include "base/AnsiText.h"

#include <QString>
#include <QStringList>

namespace kel {

inline const QString kSampleFileName = QStringLiteral("Talk.txt");

// Sorts before every sentence beginning with a kana; the list shows its row
// as "日記" and opens the diary from it.
inline const QString kPlaceholder = QStringLiteral("ああああ日記ダミー消さないでね！");

// Cells that are saved as the placeholder record instead of as themselves.
inline const QString kDiaryCell = QStringLiteral("日記");
inline const QString kMemoCell = QStringLiteral("メモ");

// The sentences of a decoded file, in file order. A line whose raw text is
// empty after trimming spaces is skipped; otherwise every double quote is
// dropped, wherever it stands, and the rest trimmed:
//   ["", "  ", "\"こんにちは\"", "\"a\"b\"c\"", "\"\""] -> ["こんにちは", "abc", ""]
QStringList parseSamples(const QString &decodedText);

// The whole file for the sentence cells of the list, in row order. A cell
// that trims to "日記" or "メモ" becomes the placeholder record, one that
// trims to nothing is left out, any other is written untrimmed.
// Fails, naming the sentence, when code page 932 cannot hold one.
EncodedFile encodeSamples(const QStringList &sentenceCells);

// True when the placeholder is missing from the parsed sentences (a new,
// emptied or hand-edited file); the caller then adds it as an extra row.
bool lacksPlaceholder(const QStringList &sentences);

// Everyday requests of a person in care, offered on a fresh installation.
QStringList everydaySentences();

// The sentences a fresh installation's Talk.txt starts with: the
// placeholder followed by everydaySentences().
QStringList freshSampleSentences();

} // namespace kel

#pragma once
// read.txt in the data folder: every text read aloud with "読む", oldest
// first, one quoted code page 932 record per line as in Talk.txt, so that
// the user's own words are learned from what was said as well as from what
// was stored.
//   "まどをあけてください" <-> 22 82 DC 82 C7 82 F0 ... 22 0D 0A
// A file that cannot be read correctly is kept as it is (never written
// over): what was read aloud then is not added, and the caller is told so.

#include "base/TextFileIO.h"

#include <QString>
#include <QStringList>

namespace kel {

inline const QString kReadHistoryFileName = QStringLiteral("read.txt");

// The texts of a decoded file: each non-blank line without its quotes.
QStringList parseReadHistory(const QString &decodedText);

class ReadHistory {
public:
    explicit ReadHistory(QString path) : path_(std::move(path)) {}

    // Reads the file; the texts in it (as far as they can be read).
    QStringList load();
    // Appends one text read aloud and rewrites the file whole; the problem
    // when it could not be stored (the text is still kept in memory).
    std::optional<StoreProblem> add(const QString &text);
    // Empties the file ("履歴を消す").
    std::optional<StoreProblem> clear();
    bool mayOverwrite() const { return file_.mayOverwrite(); }

private:
    std::optional<StoreProblem> store();
    QString path_;
    ListFileText file_;
    QStringList texts_;
};

// The notices of the history file.
StoreNotices readHistoryNotices();

} // namespace kel

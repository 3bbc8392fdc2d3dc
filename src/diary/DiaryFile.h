#pragma once
// day.txt, the diary: one quoted code page 932 record per day, newest first.
//   "04.09.24 朝ごはん" -> 22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A
//   "04.09.25 "         -> 22 30 34 2E 30 39 2E 32 35 20 22 0D 0A

#include "base/AnsiText.h"

#include <QDate>
#include <QString>
#include <vector>

namespace kel {

inline const QString kDiaryFileName = QStringLiteral("day.txt");

// "YY.MM.DD" with leading zeros: 2004-09-24 -> "04.09.24".
QString diaryDate(QDate date);

struct DiaryRowData {
    QString date;  // "YY.MM.DD" as read; not checked
    QString entry; // may be empty, may end with the end marker "_"
    bool operator==(const DiaryRowData &) const = default;
};

// The rows of the diary list, in file order, read from a decoded file on the
// day `today` ("YY.MM.DD"). Blank lines are skipped; in each other line the
// double quotes are dropped, characters 1-8 are the date and characters 10
// onward, trimmed, the entry. Unless some line is dated today, an empty row
// for today comes first; a file with no record yields just that row, so the
// first entry can be stored.
std::vector<DiaryRowData> parseDiary(const QString &decodedText, const QString &today);

// Row indices: the days up to `today` newest first, then the days after it
// (the clock has gone back since they were written) newest first, then the
// rows whose date is damaged, in file order; equal dates keep their order.
// A two-digit year is taken in the century that puts it nearest to today:
//   today 04.09.25: [04.09.26, 99.12.31, 04.09.25, xx] -> [04.09.25, 99.12.31, 04.09.26, xx]
std::vector<int> diaryOrder(const std::vector<DiaryRowData> &rows, const QString &today);

// The whole file for the list rows in their order, with row `diaryRow`'s
// entry replaced by `editedText`. Nothing is trimmed. Fails, naming the
// entry, when code page 932 cannot hold it.
EncodedFile encodeDiary(const std::vector<DiaryRowData> &rows, int diaryRow,
                        const QString &editedText);

} // namespace kel

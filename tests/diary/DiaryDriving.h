#pragma once
// Driving the diary through the real buttons, and day.txt contents for the
// diary's screen tests.

#include "app/AnsiText.h"
#include "board/BoardLayout.h"
#include "samples/DialogScript.h"
#include "samples/SampleFile.h"
#include "support/TalkFixture.h"

#include <QDir>
#include <QFrame>

namespace kel {

inline const QColor kGreen(128, 255, 128);
inline const QColor kWhite(255, 255, 255);

inline const SeenDialog kAskStore{"日記の終了", "日記を登録して終了します", {"ＹＥＳ", "ＮＯ"}};

// One day.txt record as the program writes it: "<date> <entry>" quoted, CR LF.
inline QByteArray dayRecord(const QString &date, const QString &entry)
{
    return encodeRecord(date + u' ' + entry).value();
}

// "04.09.24 朝ごはん" as the 21 bytes of the file format's own example.
inline const QByteArray kBreakfast0924 =
    QByteArray::fromHex("22 30 34 2E 30 39 2E 32 34 20 92 A9 82 B2 82 CD 82 F1 22 0D 0A");

// A program folder with Talk.txt holding only the diary's placeholder (so
// that no suggestion appears while typing) and, unless null, day.txt.
inline std::map<QString, QByteArray> diaryFolder(const QByteArray &day)
{
    std::map<QString, QByteArray> files{{QStringLiteral("Talk.txt"), encodeRecord(kPlaceholder).value()}};
    if (!day.isNull())
        files[QStringLiteral("day.txt")] = day;
    return files;
}

// Rows of the diary list as "date|entry".
inline QStringList diaryRows(const FlexGrid *g)
{
    QStringList rows;
    for (int r = 0; r < g->Rows(); ++r)
        rows << g->TextMatrix(r, 0) + u'|' + g->TextMatrix(r, 1);
    return rows;
}

inline QStringList folderEntries(const TalkFixture &f)
{
    QStringList entries =
        QDir(f.home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.sort();
    return entries;
}

// "例文表示", then "決定" on the list's first row, "日記".
inline void openDiary(TalkFixture &f)
{
    f.click(f.ui().cmdSamp);
    f.click(f.ui().cmdDec);
    f.settle();
}

// A touch on row `row` of the diary list, then "決定".
inline void openEntry(TalkFixture &f, int row)
{
    if (row != 0)
        f.touchCell(f.ui().grdDay, row, 1);
    f.click(f.ui().cmdDec);
    f.settle();
}

inline void revise(TalkFixture &f)
{
    f.click(f.ui().cmdRevise);
    f.settle();
}

// Types hiragana by touching board cells; with "OPT1" = "2" a touch enters
// its character at once.
inline bool typeOnBoard(TalkFixture &f, const QString &kana)
{
    for (const QChar ch : kana) {
        bool found = false;
        for (int r = 0; r < kBoardRows && !found; ++r) {
            for (int c = 0; c <= f.st().MaxC && !found; ++c) {
                if (boardCellText(BoardMode::Hiragana, f.st().MaxC, r, c) == QString(ch)) {
                    f.touchCell(f.ui().grdBoard, r, c);
                    f.settle();
                    found = true;
                }
            }
        }
        if (!found)
            return false;
    }
    return true;
}

// "日記終了", answering the dialogs that appear with `answers` (0 the first
// button, 1 the second; none left: the box is closed). Returns what was asked.
inline QList<SeenDialog> endDiary(TalkFixture &f, std::initializer_list<int> answers)
{
    DialogScript dialogs(answers);
    f.click(f.ui().cmdSamp);
    f.settle();
    return dialogs.seen;
}

} // namespace kel

#pragma once
// Captions, messages and colours of the example-sentence screens.

#include "widgets/Colours.h"

#include <QColor>
#include <QString>

namespace kel {

inline const QString kTitleAdd = QStringLiteral("例文登録");
inline const QString kTitleDelete = QStringLiteral("例文の削除");
inline const QString kAskStartOver = QStringLiteral("はじめからでよろしいですか？");
inline const QString kAskDelete = QStringLiteral("上記例文を削除してもいいですか？");
// The question covers the list, so it names the sentence it is about; a
// very long one by its beginning.
inline QString askDeleteOf(const QString &sentence)
{
    constexpr qsizetype kShown = 40;
    const QString shown = sentence.size() > kShown ? sentence.left(kShown - 1) + QStringLiteral("…") : sentence;
    return QStringLiteral("「%1」\n").arg(shown) + kAskDelete;
}
// The rows that open the diary or a memo are not sentences of the file.
inline QString noticeNotDeletable(const QString &row)
{
    return QStringLiteral("「%1」の行は例文ではないので削除できません").arg(row);
}
inline const QString kNoticeDuplicate = QStringLiteral("同一文が登録されています");
inline const QString kNoticeSaveFailed = QStringLiteral("例文を保存できませんでした");
inline const QString kNoticeFileUnreadable =
    QStringLiteral("例文ファイルが読めないため保存できません");

inline const QColor kSampPressed(0, 0, 192);
inline const QColor kSampReleased(192, 192, 255);

// Column widths of the list in twips, the same however it was shown (opened
// or after an addition), so that the sentences do not jump sideways: the
// label column holds "か行" in the list's type, and the sentence column
// leaves room for the scroll bar.
inline constexpr int kLabelTwips = 1000;
inline constexpr int kScrollBarTwips = 338;

} // namespace kel

#pragma once
// Captions, the question, the notices and the colours of the diary screens.

#include "widgets/Colours.h"

#include <QColor>
#include <QString>

namespace kel {

inline const QString kAskStoreDiary = QStringLiteral("日記を登録して終了します");
inline const QString kTitleDiaryEnd = QStringLiteral("日記の終了");

// Notices of a store that did not happen; the text stays in the text box.
inline const QString kNoticeDiaryNotSaved = QStringLiteral("日記を保存できませんでした");
inline const QString kNoticeDiaryUnreadable =
    QStringLiteral("日記ファイルが読めないため保存できません");

inline const QColor kRevisingBlue(192, 192, 255);

// The list lies over the board: the date column, and the entry column that
// leaves room for the scroll bar.
inline constexpr int kDateColumnTwips = 3800;
inline constexpr int kDiaryScrollBarTwips = 350;

} // namespace kel

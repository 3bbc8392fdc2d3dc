#pragma once
// The row of candidates that stands in the enlarged selection screen where
// "スペース" stood: one button a candidate, in fixed places, captioned with
// what taking it adds (from the character just touched). The buttons keep
// their candidates until the row is filled again, so that nothing changes
// under a resting pointer.

#include "predict/Candidate.h"

#include <QWidget>
#include <array>
#include <functional>

namespace kel {

class ColorButton;

class CandidateRow : public QWidget {
    Q_OBJECT
public:
    explicit CandidateRow(QWidget *parent = nullptr);

    // Shows `candidates` (at most Count of them), each captioned from
    // position `from` of its text; the other buttons are hidden.
    void fill(const QList<Candidate> &candidates, qsizetype from);
    // Told the whole text of the candidate taken.
    void setTake(std::function<void(const QString &)> take) { take_ = std::move(take); }
    const QList<Candidate> &shown() const { return shown_; }

private:
    QFont font_;
    std::array<ColorButton *, 8> buttons_{};
    QList<Candidate> shown_;
    std::function<void(const QString &)> take_;
};

// What taking `candidate` does to the text in front of the caret: the
// characters from `removeFrom` on are deleted and `insert` is entered.
//   before "まと", candidate "まどを" -> {1, "どを"}
struct TakeEdit {
    qsizetype removeFrom = 0;
    QString insert;
    bool operator==(const TakeEdit &) const = default;
};
TakeEdit takeEdit(QStringView before, const QString &candidate);

} // namespace kel

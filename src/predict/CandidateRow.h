#pragma once
// A row of candidates: in the enlarged selection screen where "スペース"
// stood ("rowPredict", buttons "cmdPredict0".."cmdPredict7"), and on the
// main screen above the board ("rowStrip", "cmdStrip0"..). One button a
// candidate, in fixed places, captioned with what taking it adds (from the
// character just touched). The buttons keep their candidates until the row
// is filled again, so that nothing changes under a resting pointer.

#include "predict/Candidate.h"

#include <QWidget>
#include <array>
#include <functional>

namespace kel {

class ColorButton;

class CandidateRow : public QWidget {
    Q_OBJECT
public:
    // `name` gives the row's and its buttons' object names, as above.
    explicit CandidateRow(QWidget *parent = nullptr, const QString &name = QStringLiteral("Predict"));

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

// The main screen's board area split for the strip: one board row of it on
// top for the candidates, the board (its five rows shorter) below.
struct StripPlaces {
    QRect strip, board;
};
StripPlaces stripPlaces(const QRect &area, int boardRows);

// Where the strip's captions begin in the candidates for `before`: at the
// last typed kana, so that a caption reads as the word it finishes, and
// never before the sentence being typed.
//   "ま" -> 0 ("まどを…")      "きょうは。まどを" -> 7 ("をあけて…")
qsizetype stripCaptionStart(QStringView before);

} // namespace kel

#pragma once
// Prediction in the main window: loads the user's history once the window
// is up and prediction is on, puts the row of candidates where "スペース"
// stands in the enlarged screen and, when wanted, a row of them above the
// board, and learns each text read aloud and each sentence stored.

#include "frame/Talk.h"
#include "predict/Prediction.h"

#include <QObject>
#include <QRect>
#include <functional>

namespace kel {

class CandidateRow;

class PredictWiring : public QObject {
public:
    explicit PredictWiring(Talk &t);
    // Reads the "PREDICT" group and, when prediction is on, starts learning
    // the data folder's texts (once).
    void readSettings();
    // The data folder's files changed (a restore): learned anew.
    void relearn();
    Prediction &prediction() { return prediction_; }
    // What taking a candidate from the row above the board does.
    void setStripTake(std::function<void(const QString &)> take);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void startLoading();
    // The row above the board stands whenever prediction is on and either
    // the user asked for it or the touch rule never opens the enlarged
    // screen (it is then the only place candidates can show).
    bool stripWanted() const;
    void updateStrip();
    void updateStripLater();

    Talk &t_;
    Prediction prediction_;
    CandidateRow *row_;
    CandidateRow *strip_;
    QRect area_; // the board's place when no strip stands above it
    QString stripFor_;
    bool stripPending_ = false;
    bool loading_ = false;
};

// "履歴を消す": asks first; then read.txt is emptied and what was learned
// from it forgotten.
void askClearPredictHistory(Talk &t);

} // namespace kel

#pragma once
// Prediction in the main window: loads the user's history once the window
// is up and prediction is on, puts the row of candidates where "スペース"
// stands in the enlarged screen, and learns each text read aloud and each
// sentence stored.

#include "frame/Talk.h"
#include "predict/Prediction.h"

namespace kel {

class CandidateRow;

class PredictWiring {
public:
    explicit PredictWiring(Talk &t);
    // Reads the "PREDICT" group and, when prediction is on, starts learning
    // the data folder's texts (once).
    void readSettings();
    Prediction &prediction() { return prediction_; }

private:
    Talk &t_;
    Prediction prediction_;
    CandidateRow *row_;
    bool loading_ = false;
};

// "履歴を消す": asks first; then read.txt is emptied and what was learned
// from it forgotten.
void askClearPredictHistory(Talk &t);

} // namespace kel

#pragma once
// The user's history and the packaged model as one predictor: the user's
// own words first (they are what this user says), then the packaged
// model's words to fill the places the history leaves. Either part may be
// missing: no history yet, or no model installed.

#include "predict/Candidate.h"

namespace kel {

class BlendPredictor : public Predictor {
public:
    BlendPredictor(const Predictor *history, const Predictor *packaged) : history_(history), packaged_(packaged) {}
    void setPackaged(const Predictor *packaged) { packaged_ = packaged; }

    QList<Candidate> predict(QStringView context, int count) const override;

private:
    const Predictor *history_;
    const Predictor *packaged_;
};

} // namespace kel

#pragma once
// What a predictor offers: a value, compared by value. `text` is the whole
// text in front of the caret once the candidate is taken, so that taking it
// is one replacement whatever the predictor matched:
//
//   context "まどを|"  ->  {"まどをあけてください", History}
//   context "まとを|"  ->  {"まどをあけてください", History}  (voicing ignored)

#include <QList>
#include <QString>
#include <QStringView>

namespace kel {

struct Candidate {
    enum Source { History, Packaged };
    QString text;
    Source from = History;
    double score = 0; // higher first; only comparable within one list

    bool operator==(const Candidate &o) const { return text == o.text && from == o.from; }
};

// Context in, ranked candidates out (at most `count`, best first). Every
// candidate continues the context: its folded form (KanaFold.h) begins with
// the folded context and is longer.
class Predictor {
public:
    virtual ~Predictor() = default;
    virtual QList<Candidate> predict(QStringView context, int count) const = 0;
};

} // namespace kel

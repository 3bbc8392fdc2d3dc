#pragma once
// What a predictor offers: a value, compared by value. `text` is the whole
// text in front of the caret once the candidate is taken, so that taking it
// is one replacement whatever the predictor matched:
//
//   context "まどを|"  ->  {"まどをあけてください", History}
//   context "まとを|"  ->  {"まどをあけてください", History}  (voicing ignored)

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <algorithm>

namespace kel {

struct Candidate {
    enum Source { History, Packaged };
    QString text;
    Source from = History;
    double score = 0; // higher first; only comparable within one list

    bool operator==(const Candidate &o) const { return text == o.text && from == o.from; }
};

// The `count` best of `scores` (text -> score), ties by text so that the
// same history always offers the same row.
inline QList<Candidate> bestOf(const QHash<QString, double> &scores, Candidate::Source from, int count)
{
    QList<Candidate> out;
    out.reserve(scores.size());
    for (auto it = scores.cbegin(); it != scores.cend(); ++it)
        out.append({it.key(), from, it.value()});
    std::sort(out.begin(), out.end(), [](const Candidate &a, const Candidate &b) {
        return a.score != b.score ? a.score > b.score : a.text < b.text;
    });
    if (out.size() > count)
        out.resize(std::max(0, count));
    return out;
}

// Context in, ranked candidates out (at most `count`, best first). Every
// candidate continues the context: its folded form (KanaFold.h) begins with
// the folded context and is longer.
class Predictor {
public:
    virtual ~Predictor() = default;
    virtual QList<Candidate> predict(QStringView context, int count) const = 0;
};

} // namespace kel

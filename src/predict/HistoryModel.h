#pragma once
// The user's own sentences as a predictor: whole sentences and their
// phrases, found by any phrase start that matches the end of what is being
// typed. Every phrase start of every stored sentence is one entry of a
// sorted index of folded suffixes, so a lookup is a binary search:
//
//   learned "まどをあけてください" (phrases まどを|あけて|ください)
//   context "きょうは。まと|"  -> "きょうは。まどを", "きょうは。まどをあけて",
//                                "きょうは。まどをあけてください", ...

#include "predict/Candidate.h"
#include "predict/KanaReading.h"

#include <QHash>
#include <vector>

namespace kel {

class HistoryModel : public Predictor {
public:
    // Counts `s` once more; a sentence learned again only gains weight.
    void learn(const KanaSentence &s);
    // Many at once (a history being loaded): one sort instead of an
    // insertion each.
    void learn(const QList<KanaSentence> &many);
    void clear();
    qsizetype sentenceCount() const { return qsizetype(sentences_.size()); }

    QList<Candidate> predict(QStringView context, int count) const override;

private:
    struct Sentence {
        QString kana, folded;
        QList<qsizetype> starts;
        int count = 0;
    };
    struct Entry {
        int sentence;
        qsizetype at;
    };
    // Adds `s` to the sentences; the index entries it needs, if it is new.
    std::vector<Entry> add(const KanaSentence &s);
    bool bySuffix(const Entry &a, const Entry &b) const { return suffix(a) < suffix(b); }
    QStringView suffix(const Entry &e) const { return QStringView(sentences_[size_t(e.sentence)].folded).mid(e.at); }

    std::vector<Sentence> sentences_;
    QHash<QString, int> byKana_;
    std::vector<Entry> entries_; // sorted by suffix()
};

} // namespace kel

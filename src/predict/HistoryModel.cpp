#include "predict/HistoryModel.h"

#include "predict/KanaFold.h"

#include <algorithm>

namespace kel {
namespace {

// How far back a match may begin, and how many entries one match length may
// visit: together they bound the time a touch waits for its candidates.
constexpr qsizetype kLongestMatch = 16;
constexpr int kEntriesPerMatch = 400;
// A match that begins where the typed sentence begins says more than one
// inside it; and of what follows one match, the next phrase is likelier
// than the ones after it, the rest of the sentence likelier than those.
constexpr double kSentenceStartBonus = 3;
constexpr double kPhraseShare[] = {1.0, 0.55, 0.35};
constexpr double kRestShare = 0.45;

} // namespace

std::vector<HistoryModel::Entry> HistoryModel::add(const KanaSentence &s)
{
    const QString kana = cleanForHistory(s.kana);
    if (kana.isEmpty() || kana.size() != s.kana.size())
        return {}; // control characters would move the phrase starts: taken as noise
    if (auto it = byKana_.constFind(kana); it != byKana_.cend()) {
        ++sentences_[size_t(*it)].count;
        return {};
    }
    const int id = int(sentences_.size());
    sentences_.push_back({kana, foldKana(kana), s.starts, 1});
    byKana_.insert(kana, id);
    std::vector<Entry> added;
    for (qsizetype at : s.words.isEmpty() ? s.starts : s.words) {
        if (at >= 0 && at < kana.size())
            added.push_back({id, at});
    }
    return added;
}

void HistoryModel::learn(const KanaSentence &s)
{
    for (const Entry &e : add(s)) {
        const auto pos = std::lower_bound(entries_.begin(), entries_.end(), e,
                                          [this](const Entry &a, const Entry &b) { return bySuffix(a, b); });
        entries_.insert(pos, e);
    }
}

void HistoryModel::learn(const QList<KanaSentence> &many)
{
    for (const KanaSentence &s : many) {
        const std::vector<Entry> added = add(s);
        entries_.insert(entries_.end(), added.begin(), added.end());
    }
    std::stable_sort(entries_.begin(), entries_.end(),
                     [this](const Entry &a, const Entry &b) { return bySuffix(a, b); });
}

void HistoryModel::clear()
{
    sentences_.clear();
    byKana_.clear();
    entries_.clear();
}

QList<Candidate> HistoryModel::predict(QStringView context, int count) const
{
    const qsizetype begin = sentenceStart(context);
    const QString typed = foldKana(context.mid(begin));
    QHash<QString, double> scores;
    const auto offer = [&](const QString &text, double score) {
        if (text.size() > context.size())
            scores[text] += score;
    };
    for (qsizetype k = std::max<qsizetype>(0, typed.size() - kLongestMatch); k < typed.size(); ++k) {
        const QStringView key = QStringView(typed).mid(k);
        const double weight = double(key.size() * key.size()) * (k == 0 ? kSentenceStartBonus : 1.0);
        const QString kept = context.left(begin + k).toString();
        auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                   [this](const Entry &e, QStringView k) { return suffix(e) < k; });
        for (int visited = 0; it != entries_.end() && visited < kEntriesPerMatch; ++it, ++visited) {
            if (!suffix(*it).startsWith(key))
                break;
            const Sentence &s = sentences_[size_t(it->sentence)];
            const qsizetype matchedEnd = it->at + key.size();
            const double w = weight * s.count;
            int phrase = 0;
            for (qsizetype end : s.starts) {
                if (end <= matchedEnd || phrase >= 3)
                    continue;
                offer(kept + s.kana.mid(it->at, end - it->at), w * kPhraseShare[phrase++]);
            }
            if (s.kana.size() > matchedEnd)
                offer(kept + s.kana.mid(it->at), w * (phrase == 0 ? kPhraseShare[0] : kRestShare));
        }
    }
    return bestOf(scores, Candidate::History, count);
}

} // namespace kel

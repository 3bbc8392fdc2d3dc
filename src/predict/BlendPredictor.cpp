#include "predict/BlendPredictor.h"

namespace kel {
namespace {

// A history candidate from a weak match (one kana inside the sentence)
// ranks below the packaged model's best word; any stronger one above it.
constexpr double kWeakHistory = 1.5;
// From so many places on, the last is kept for the model's best guess even
// when the history has more strong ones: its next words reach where the
// user's earlier sentences stop.
constexpr int kRoomForModelFrom = 5;

} // namespace

QList<Candidate> BlendPredictor::predict(QStringView context, int count) const
{
    QList<Candidate> own = history_ ? history_->predict(context, count) : QList<Candidate>();
    const QList<Candidate> packaged = packaged_ ? packaged_->predict(context, count) : QList<Candidate>();
    QList<Candidate> out;
    const auto add = [&](const Candidate &c) {
        if (out.size() >= count)
            return;
        for (const Candidate &o : out) {
            if (o.text == c.text)
                return;
        }
        out.append(c);
    };
    qsizetype taken = 0;
    const int strongRoom = count >= kRoomForModelFrom ? count - 1 : count;
    for (; taken < own.size() && taken < strongRoom && own[taken].score > kWeakHistory; ++taken)
        add(own[taken]);
    if (!packaged.isEmpty())
        add(packaged.front());
    for (; taken < own.size(); ++taken)
        add(own[taken]);
    for (const Candidate &c : packaged)
        add(c);
    return out;
}

} // namespace kel

#include "samples/KanaLabels.h"

#include "samples/SampleFile.h"

#include <algorithm>
#include <numeric>

namespace kel {

QString kanaRowLabel(QChar first)
{
    const char16_t code = first.unicode();
    for (const KanaRow &row : kKanaRows) {
        if (code >= row.from && code <= row.to)
            return QString::fromUtf16(row.label);
    }
    return {};
}

QStringList runLabels(const QStringList &sortedSentences)
{
    QStringList labels;
    labels.reserve(sortedSentences.size());
    QString current;
    QString lastWritten;
    for (const QString &sentence : sortedSentences) {
        if (!sentence.isEmpty()) {
            const QString label = kanaRowLabel(sentence.front());
            if (!label.isEmpty())
                current = label;
        }
        if (current != lastWritten) {
            labels.append(current);
            lastWritten = current;
        } else {
            labels.append(QString());
        }
    }
    return labels;
}

std::vector<int> sampleOrder(const QStringList &sentences)
{
    std::vector<int> order(sentences.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&sentences](int a, int b) {
        const bool aPlaceholder = sentences.at(a) == kPlaceholder;
        const bool bPlaceholder = sentences.at(b) == kPlaceholder;
        if (aPlaceholder != bPlaceholder)
            return aPlaceholder;
        return QString::compare(sentences.at(a), sentences.at(b), Qt::CaseSensitive) < 0;
    });
    return order;
}

QStringList sortSamples(const QStringList &sentences)
{
    QStringList sorted;
    sorted.reserve(sentences.size());
    for (int row : sampleOrder(sentences))
        sorted.append(sentences.at(row));
    return sorted;
}

} // namespace kel

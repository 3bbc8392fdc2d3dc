#include "samples/KanaLabels.h"

#include "samples/SampleFile.h"

#include <algorithm>
#include <numeric>
#include <string_view>

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
    // Keys made once: a list of 30,000 sentences takes some 450,000
    // comparisons, and comparing plain UTF-16 views (the same code-unit
    // order as QString::compare with case) halves the time of sorting.
    struct Key {
        bool placeholder;
        std::u16string_view text;
    };
    std::vector<Key> keys;
    keys.reserve(sentences.size());
    for (const QString &s : sentences)
        keys.push_back({s == kPlaceholder,
                        {reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size())}});

    std::vector<int> order(sentences.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](int a, int b) {
        if (keys[a].placeholder != keys[b].placeholder)
            return keys[a].placeholder;
        return keys[a].text < keys[b].text;
    });
    return order;
}

} // namespace kel

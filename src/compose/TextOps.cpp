#include "compose/TextOps.h"

#include "base/AnsiText.h"

#include <QStringView>
#include <algorithm>

namespace kel {

namespace {

qsizetype clampTo(qsizetype pos, qsizetype size)
{
    return std::clamp<qsizetype>(pos, 0, size);
}

bool endsWithMarker(const QString& text)
{
    return !text.isEmpty() && text.back() == kEndMarker;
}

} // namespace

TextEdit insertAtCaret(const QString& text, qsizetype caret, const QString& sentence)
{
    const qsizetype at = clampTo(caret, text.size());
    const QStringView view(text);
    QString result;
    result.reserve(text.size() + sentence.size() + 1);
    result.append(view.first(at)).append(sentence).append(view.sliced(at));
    return {result, at + sentence.size()};
}

TextEdit putText(const QString& text, qsizetype caret, const QString& insert)
{
    TextEdit edit = insertAtCaret(text, caret, insert);
    if (!endsWithMarker(edit.text))
        edit.text.append(kEndMarker);
    return edit;
}

QString suggestionKeyOf(const QString& text, bool markerAtEnd, int n)
{
    const qsizetype keyChars = std::max(n, 0);
    if (!markerAtEnd)
        return text.right(keyChars);
    const qsizetype typed = std::max<qsizetype>(text.size() - 1, 0);
    if (typed < keyChars + 1)  // at most n typed characters: take them all
        return text.first(typed);
    return text.sliced(typed - keyChars, keyChars);
}

QStringList matchSamples(const QStringList& samples, const QString& key)
{
    const qsizetype compared = key.size();
    const QString trimmed = trimSpaces(key);
    const QStringView wanted(trimmed);
    QStringList matches;
    for (const QString& sentence : samples) {
        // left() of a shorter sentence is the whole sentence.
        if (QStringView(sentence).left(compared) == wanted)
            matches.append(sentence);
    }
    return matches;
}

TextEdit takeSuggestion(const QString& text, qsizetype caret,
                        const QString& chosenTrimmed, int n)
{
    const qsizetype size = text.size();
    const qsizetype s = clampTo(caret, size);
    const qsizetype keyChars = std::max(n, 0);
    const qsizetype chosen = chosenTrimmed.size();
    const QStringView view(text);

    QString result;
    qsizetype newCaret = 0;
    if (size < keyChars + 1) {
        // The whole text was the key (with or without a marker).
        result = chosenTrimmed + kEndMarker;
        newCaret = chosen + s - size + 1;
    } else {
        // The key is the n characters before the marker, or the last n
        // characters when there is none; the text from the caret follows.
        const bool marker = endsWithMarker(text);
        const qsizetype kept = size - keyChars - (marker ? 1 : 0);
        result.reserve(kept + chosen + (size - s));
        result.append(view.first(kept)).append(chosenTrimmed).append(view.sliced(s));
        newCaret = s + chosen - keyChars + (marker ? 0 : 1);
    }
    return {result, clampTo(newCaret, result.size())};
}

} // namespace kel

#include "samples/SampleFile.h"

namespace kel {

QStringList parseSamples(const QString &decodedText)
{
    QStringList sentences;
    for (const QString &line : splitLines(decodedText)) {
        // Tested on the raw line: a line of just "" is a sentence, an empty one.
        if (trimSpaces(line).isEmpty())
            continue;
        QString text = line;
        text.remove(u'"');
        sentences.append(trimSpaces(text));
    }
    return sentences;
}

EncodedFile encodeSamples(const QStringList &sentenceCells)
{
    // The whole file goes through one conversion: code page 932 keeps no
    // state between characters, and one converter per record would make
    // every save of a long list several times slower.
    const QLatin1StringView quote("\""), quoteAndLineEnd("\"\r\n");
    QString text;
    for (const QString &cell : sentenceCells) {
        const QString trimmed = trimSpaces(cell);
        if (trimmed == kDiaryCell || trimmed == kMemoCell)
            text += quote + kPlaceholder + quoteAndLineEnd;
        else if (!trimmed.isEmpty())
            text += quote + oneLine(cell) + quoteAndLineEnd;
    }
    if (std::optional<QByteArray> bytes = encodeCp932(text))
        return {std::move(*bytes), std::nullopt};

    // Name the first sentence the file cannot hold.
    for (const QString &cell : sentenceCells) {
        const QString character = firstUnencodableCharacter(cell);
        if (!character.isEmpty() && !trimSpaces(cell).isEmpty())
            return {{}, EncodeFailure{cell, character}};
    }
    return {{}, EncodeFailure{}};
}

bool lacksPlaceholder(const QStringList &sentences)
{
    return !sentences.contains(kPlaceholder);
}

QStringList everydaySentences()
{
    return {
        QStringLiteral("おはようございます"),
        QStringLiteral("こんにちは"),
        QStringLiteral("おやすみなさい"),
        QStringLiteral("ありがとうございます"),
        QStringLiteral("すみません"),
        QStringLiteral("はい"),
        QStringLiteral("いいえ"),
        QStringLiteral("トイレに行きたいです"),
        QStringLiteral("水をください"),
        QStringLiteral("いたいところがあります"),
        QStringLiteral("あついです"),
        QStringLiteral("さむいです"),
        QStringLiteral("体の向きを変えてください"),
        QStringLiteral("たんを吸引してください"),
        QStringLiteral("看護師さんを呼んでください"),
        QStringLiteral("家族に連絡してください"),
        QStringLiteral("少し休みたいです"),
        QStringLiteral("テレビをつけてください"),
    };
}

QStringList freshSampleSentences()
{
    return QStringList{kPlaceholder} + everydaySentences();
}

} // namespace kel

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
    const QByteArray placeholderRecord = *encodeRecord(kPlaceholder);
    EncodedFile file;
    for (const QString &cell : sentenceCells) {
        const QString trimmed = trimSpaces(cell);
        if (trimmed == kDiaryCell || trimmed == kMemoCell) {
            file.bytes += placeholderRecord;
        } else if (!trimmed.isEmpty()) {
            const std::optional<QByteArray> record = encodeRecord(cell);
            if (!record)
                return {{}, EncodeFailure{cell, firstUnencodableCharacter(cell)}};
            file.bytes += *record;
        }
    }
    return file;
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

#include "predict/ReadHistory.h"

namespace kel {

QStringList parseReadHistory(const QString &decodedText)
{
    QStringList texts;
    for (const QString &line : splitLines(decodedText)) {
        QString text = line;
        text.remove(u'"');
        text = trimSpaces(text);
        if (!text.isEmpty())
            texts << text;
    }
    return texts;
}

QStringList ReadHistory::load()
{
    file_ = readListFile(path_);
    texts_ = parseReadHistory(file_.text);
    return texts_;
}

std::optional<StoreProblem> ReadHistory::add(const QString &text)
{
    const QString line = trimSpaces(oneLine(text));
    if (line.isEmpty())
        return std::nullopt;
    texts_ << replaceUnencodable(line);
    return store();
}

std::optional<StoreProblem> ReadHistory::clear()
{
    texts_.clear();
    return store();
}

std::optional<StoreProblem> ReadHistory::store()
{
    QString text;
    for (const QString &t : texts_)
        text += QLatin1Char('"') + t + QStringLiteral("\"\r\n");
    EncodedFile encoded;
    if (std::optional<QByteArray> bytes = encodeCp932(text))
        encoded.bytes = *bytes;
    else
        encoded.failure = EncodeFailure{text, firstUnencodableCharacter(text)};
    return storeListFile(path_, file_, encoded);
}

StoreNotices readHistoryNotices()
{
    return {QStringLiteral("読み上げの履歴（read.txt）が正しく読めないため、書き換えずに残しています。"
                           "読み上げた文は履歴に加わりません。"),
            QStringLiteral("読み上げの履歴（read.txt）を保存できませんでした。")};
}

} // namespace kel

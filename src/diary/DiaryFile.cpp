#include "diary/DiaryFile.h"

#include <algorithm>
#include <numeric>

namespace kel {

namespace {
constexpr qsizetype kDateLength = 8;
constexpr qsizetype kEntryStart = 9; // the date, then one separating character
} // namespace

QString diaryDate(QDate date)
{
    return date.toString(u"yy.MM.dd");
}

std::vector<DiaryRowData> parseDiary(const QString &decodedText, const QString &today)
{
    std::vector<DiaryRowData> rows;
    for (const QString &line : splitLines(decodedText)) {
        if (trimSpaces(line).isEmpty())
            continue;
        QString text = line;
        text.remove(u'"');
        const QString date = text.left(kDateLength);
        if (rows.empty() && date != today)
            rows.push_back({today, QString()});
        rows.push_back({date, trimSpaces(text.mid(kEntryStart))});
    }
    if (rows.empty())
        rows.push_back({today, QString()});
    return rows;
}

std::vector<int> diaryOrder(const std::vector<DiaryRowData> &rows)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&rows](int a, int b) {
        return QString::compare(rows[a].date, rows[b].date, Qt::CaseSensitive) > 0;
    });
    return order;
}

EncodedFile encodeDiary(const std::vector<DiaryRowData> &rows, int diaryRow,
                        const QString &editedText)
{
    EncodedFile file;
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString &entry = i == diaryRow ? editedText : rows[i].entry;
        const QString text = rows[i].date + u' ' + entry;
        const std::optional<QByteArray> record = encodeRecord(text);
        if (!record)
            return {{}, EncodeFailure{entry, firstUnencodableCharacter(text)}};
        file.bytes += *record;
    }
    return file;
}

} // namespace kel

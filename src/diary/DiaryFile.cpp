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

bool isDiaryDate(const QString &date)
{
    if (date.size() != kDateLength || date.at(2) != u'.' || date.at(5) != u'.')
        return false;
    auto number = [&date](qsizetype at) {
        const QChar a = date.at(at), b = date.at(at + 1);
        const bool digits = a >= u'0' && a <= u'9' && b >= u'0' && b <= u'9';
        return digits ? (a.unicode() - u'0') * 10 + (b.unicode() - u'0') : -1;
    };
    const int year = number(0), month = number(3), day = number(6);
    return year >= 0 && QDate(2000 + year, month, day).isValid();
}

std::vector<DiaryRowData> parseDiary(const QString &decodedText, const QString &today)
{
    std::vector<DiaryRowData> rows;
    bool dated = false; // a line with a real date has been met
    bool todayFirst = false;
    for (const QString &line : splitLines(decodedText)) {
        if (trimSpaces(line).isEmpty())
            continue;
        QString text = line;
        text.remove(u'"');
        const QString date = text.left(kDateLength);
        // The newest record decides whether today has a row; a line whose
        // date is damaged is kept but says nothing about today.
        if (!dated && isDiaryDate(date)) {
            dated = true;
            todayFirst = date == today;
        }
        rows.push_back({date, trimSpaces(text.mid(kEntryStart))});
    }
    if (!todayFirst)
        rows.insert(rows.begin(), {today, QString()});
    return rows;
}

std::vector<int> diaryOrder(const std::vector<DiaryRowData> &rows)
{
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<char> valid(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        valid[i] = isDiaryDate(rows[i].date);
    // Damaged dates go below every real one, so the top row is always the
    // newest day (today's), never a line that merely sorts high as text.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (valid[a] != valid[b])
            return bool(valid[a]);
        return valid[a] && QString::compare(rows[a].date, rows[b].date, Qt::CaseSensitive) > 0;
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

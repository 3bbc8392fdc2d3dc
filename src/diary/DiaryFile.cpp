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

namespace {

// The day a "YY.MM.DD" text names, its century taken as the one that puts
// it nearest to `near` ("99.12.31" near 2004 is 1999, "05.01.01" is 2005);
// an invalid date for text that names no day.
QDate dayOf(const QString &date, QDate near)
{
    if (date.size() != kDateLength || date.at(2) != u'.' || date.at(5) != u'.')
        return {};
    auto number = [&date](qsizetype at) {
        const QChar a = date.at(at), b = date.at(at + 1);
        const bool digits = a >= u'0' && a <= u'9' && b >= u'0' && b <= u'9';
        return digits ? (a.unicode() - u'0') * 10 + (b.unicode() - u'0') : -1;
    };
    const int yy = number(0), month = number(3), day = number(6);
    if (yy < 0)
        return {};
    int year = near.year() - near.year() % 100 + yy;
    if (year > near.year() + 50)
        year -= 100;
    else if (year <= near.year() - 50)
        year += 100;
    return QDate(year, month, day);
}

// Near this day every YY is read as 20YY.
const QDate kMidCentury(2049, 6, 30);

} // namespace

std::vector<DiaryRowData> parseDiary(const QString &decodedText, const QString &today)
{
    std::vector<DiaryRowData> rows;
    bool todayHasRow = false;
    for (const QString &line : splitLines(decodedText)) {
        if (trimSpaces(line).isEmpty())
            continue;
        QString text = line;
        text.remove(u'"');
        const QString date = text.left(kDateLength);
        // Wherever today's record stands (a file written oldest first, or
        // below a later date the clock has since gone back from), it is
        // today's row: a second one would take the text in its place.
        todayHasRow = todayHasRow || date == today;
        rows.push_back({date, trimSpaces(text.mid(kEntryStart))});
    }
    if (!todayHasRow)
        rows.insert(rows.begin(), {today, QString()});
    return rows;
}

std::vector<int> diaryOrder(const std::vector<DiaryRowData> &rows, const QString &today)
{
    const QDate now = dayOf(today, kMidCentury);
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    // 0: real days up to today, 1: days after today (written while the clock
    // was ahead), 2: damaged dates. The top row is therefore the newest day
    // not after today, which is the one that takes today's text; a line that
    // merely sorts high as text never does.
    std::vector<int> rank(rows.size());
    std::vector<QDate> day(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        day[i] = dayOf(rows[i].date, now.isValid() ? now : kMidCentury);
        rank[i] = !day[i].isValid() ? 2 : now.isValid() && day[i] > now ? 1 : 0;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (rank[a] != rank[b])
            return rank[a] < rank[b];
        return rank[a] < 2 && day[a] > day[b];
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

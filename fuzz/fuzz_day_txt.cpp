// Any bytes as day.txt: decoded, read into rows, ordered, written back.
#include "diary/DiaryFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const kel::DecodedText decoded = kel::decodeTextFile(bytes);
    const QString today = QStringLiteral("04.09.25");
    std::vector<kel::DiaryRowData> rows = kel::parseDiary(decoded.text, today);
    const std::vector<int> order = kel::diaryOrder(rows, today);
    // The top row is always today's: neither a later date (the clock went
    // back) nor a damaged one takes its place.
    if (rows.empty() || order.size() != rows.size() || rows[size_t(order.front())].date != today)
        __builtin_trap();
    for (kel::DiaryRowData &row : rows)
        row = {kel::replaceUnencodable(row.date), kel::replaceUnencodable(row.entry)};
    if (!kel::encodeDiary(rows, 0, QString()).ok())
        __builtin_trap();
    return 0;
}

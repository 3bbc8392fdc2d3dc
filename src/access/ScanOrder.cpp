#include "access/ScanOrder.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kel {

std::vector<std::vector<int>> readingLines(const std::vector<QRect> &rects)
{
    std::vector<int> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return rects[a].center().y() < rects[b].center().y(); });
    std::vector<std::vector<int>> lines;
    for (int i : order) {
        const int mid = rects[i].center().y();
        // Joins the last line when its middle lies within that line's first
        // rectangle's height, or that one's middle within its own.
        if (!lines.empty()) {
            const QRect &head = rects[lines.back().front()];
            if ((mid >= head.top() && mid <= head.bottom())
                || (head.center().y() >= rects[i].top() && head.center().y() <= rects[i].bottom())) {
                lines.back().push_back(i);
                continue;
            }
        }
        lines.push_back({i});
    }
    for (auto &line : lines)
        std::stable_sort(line.begin(), line.end(), [&](int a, int b) { return rects[a].left() < rects[b].left(); });
    return lines;
}

namespace {

// The smallest of 1, 2, 5, 10, 20, 50 ... times `step` that is at least `want`.
double roundStep(double step, double want)
{
    for (double scale = 1;; scale *= 10)
        for (double m : {1.0, 2.0, 5.0})
            if (step * m * scale >= want - 1e-9)
                return step * m * scale;
}

} // namespace

std::vector<double> numberSteps(double low, double high, double step, double current, int most)
{
    if (!(high >= low) || !(step > 0) || most < 2)
        return {current};
    const double span = high - low;
    const double by = span / step + 1 > most ? roundStep(step, span / (most - 1)) : step;
    std::vector<double> values;
    // On the round grid (multiples of `by`), the ends included.
    values.push_back(low);
    for (double k = std::ceil(low / by - 1e-9); k * by < high - 1e-9; ++k)
        if (k * by > low + 1e-9)
            values.push_back(k * by);
    if (high > low)
        values.push_back(high);
    current = std::clamp(current, low, high);
    if (std::none_of(values.begin(), values.end(), [&](double v) { return std::abs(v - current) < 1e-9; }))
        values.push_back(current);
    std::sort(values.begin(), values.end());
    const auto at = std::find_if(values.begin(), values.end(), [&](double v) { return std::abs(v - current) < 1e-9; });
    std::rotate(values.begin(), at, values.end());
    return values;
}

std::vector<int> listSteps(int count, int current)
{
    std::vector<int> out;
    const int first = current >= 0 && current < count ? current : 0;
    for (int k = 0; k < count; ++k)
        out.push_back((first + k) % count);
    return out;
}

bool isCancelCaption(const QString &caption)
{
    const QString c = caption.trimmed().remove(u'&');
    return c == u"キャンセル" || c == u"ＮＯ" || c == u"いいえ" || c.startsWith(u"キャンセル(")
        || c.compare(u"Cancel", Qt::CaseInsensitive) == 0 || c.compare(u"No", Qt::CaseInsensitive) == 0;
}

bool isKeepCaption(const QString &caption)
{
    const QString c = caption.trimmed();
    return c == u"確定" || c == u"閉じる" || c == u"ＯＫ" || c == u"ＹＥＳ" || c == u"OK";
}

} // namespace kel

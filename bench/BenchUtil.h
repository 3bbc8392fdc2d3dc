#pragma once
// Small helpers for the benchmarks: repeated timing and medians.

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace kel::bench {

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Milliseconds of each of `runs` calls of `body`.
inline std::vector<double> timeRuns(int runs, const std::function<void()> &body)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        body();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return ms;
}

inline void report(const char *what, const std::vector<double> &ms)
{
    std::printf("%-58s median %8.3f ms  (min %.3f, max %.3f, n=%zu)\n", what, median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                ms.size());
}

} // namespace kel::bench

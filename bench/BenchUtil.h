#pragma once

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

// min / median / mean / 95th percentile / max of a sample, printed on one line.
inline void PrintStats(const char *what, std::vector<double> v, const char *unit)
{
    if (v.empty()) return;
    std::sort(v.begin(), v.end());
    const auto at = [&v](double q) { return v[std::min(v.size() - 1, static_cast<size_t>(q * (v.size() - 1) + 0.5))]; };
    const double mean = std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
    std::printf("%-48s n=%-4zu min %9.4f  median %9.4f  mean %9.4f  p95 %9.4f  max %9.4f %s\n", what, v.size(),
                v.front(), at(0.5), mean, at(0.95), v.back(), unit);
}

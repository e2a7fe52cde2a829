// Statistics.h: percentiles of a benchmark's frame times.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

// The p-th quantile (0..1) with linear interpolation between neighbours: 0.5 is the median.
// `values` must not be empty.
inline double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const double at = p * static_cast<double>(values.size() - 1);
    const auto low = static_cast<std::size_t>(at);
    const std::size_t high = std::min(low + 1, values.size() - 1);
    return values[low] + (values[high] - values[low]) * (at - static_cast<double>(low));
}

}  // namespace bench

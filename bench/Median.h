#pragma once
// The middle of several measurements: one slow or lucky run on a shared disk does not move it.
#include <algorithm>
#include <vector>

namespace tirmo::bench {

inline double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace tirmo::bench

// The figure a benchmark reports for a side it timed several times: the median, so that one slow
// run on a busy machine does not decide it. Never reads a clock itself.
#pragma once

#include <algorithm>
#include <vector>

namespace tolvane::bench {

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace tolvane::bench

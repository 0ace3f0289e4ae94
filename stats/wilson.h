#pragma once

#include <cstdint>

namespace bitwatch::stats {

struct Interval {
    double low;
    double high;
};

// The 95 % Wilson score interval for `successes` out of `trials` (trials > 0).
Interval WilsonInterval(std::int64_t successes, std::int64_t trials);

} // namespace bitwatch::stats

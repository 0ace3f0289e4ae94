#pragma once

// 95 % confidence intervals for an undetected-error probability, one for each way a row of
// bitwatch-stats can stop.

#include <cstdint>

namespace bitwatch::stats {

struct Interval {
    double low;
    double high;
};

// The Wilson score interval for `successes` out of a fixed number of `trials` (trials > 0).
// Its ends are exactly 0 when nothing succeeded and exactly 1 when everything did.
Interval WilsonInterval(std::int64_t successes, std::int64_t trials);

// The exact (conservative) interval for a run that stopped at its `successes`-th success, on
// trial `trials` (inverse binomial sampling; 1 <= successes <= trials). A fixed-trials interval
// would be too narrow here: the stopping rule favours runs that met their successes early.
Interval InverseBinomialInterval(std::int64_t successes, std::int64_t trials);

} // namespace bitwatch::stats

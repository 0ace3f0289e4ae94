#include "stats/intervals.h"

#include <algorithm>
#include <cmath>

#include "stats/beta.h"

namespace bitwatch::stats {

namespace {

constexpr double kTailShare = 0.025; // each side of a 95 % interval

} // namespace

Interval WilsonInterval(std::int64_t successes, std::int64_t trials) {
    constexpr double z = 1.959963984540054; // the 97.5 % point of the normal distribution
    const auto n = static_cast<double>(trials);
    const double phat = static_cast<double>(successes) / n;
    const double z2 = z * z;
    const double centre = (phat + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(phat * (1 - phat) / n + z2 / (4 * n * n));
    // At the ends the bound is exact in theory, but centre - half cancels to a rounding error
    // (4e-20 for none of 10^4), which would put an exact 0 outside the interval.
    const double low = successes == 0 ? 0.0 : std::max(0.0, centre - half);
    const double high = successes == trials ? 1.0 : std::min(1.0, centre + half);
    return {low, high};
}

Interval InverseBinomialInterval(std::int64_t successes, std::int64_t trials) {
    // The run stops at trial N with P(N <= n) = P(Binomial(n, p) >= k) = I_p(k, n - k + 1) and
    // P(N >= n) = P(Binomial(n - 1, p) <= k - 1) = 1 - I_p(k, n - k). Each bound leaves 2.5 % of
    // the stopping trials beyond it.
    const auto k = static_cast<double>(successes);
    const auto n = static_cast<double>(trials);
    const double low = BetaQuantile(kTailShare, k, n - k + 1);
    const double high = successes == trials ? 1.0 : BetaQuantile(1 - kTailShare, k, n - k);
    return {low, high};
}

} // namespace bitwatch::stats

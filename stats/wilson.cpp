#include "stats/wilson.h"

#include <algorithm>
#include <cmath>

namespace bitwatch::stats {

Interval WilsonInterval(std::int64_t successes, std::int64_t trials) {
    constexpr double z = 1.959963984540054; // the 97.5 % point of the normal distribution
    const auto n = static_cast<double>(trials);
    const double phat = static_cast<double>(successes) / n;
    const double z2 = z * z;
    const double centre = (phat + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(phat * (1 - phat) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

} // namespace bitwatch::stats

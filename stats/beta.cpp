#include "stats/beta.h"

#include <cmath>
#include <limits>

namespace bitwatch::stats {

namespace {

// The continued fraction of the incomplete beta function, evaluated by the modified method of
// Lentz; it converges quickly for x < (a + 1) / (a + b + 2).
long double BetaContinuedFraction(long double x, long double a, long double b) {
    constexpr long double kTiny = 1e-300L;
    constexpr long double kEpsilon = 1e-17L;
    constexpr int kMostTerms = 1'000'000;
    const long double qab = a + b;
    const long double qap = a + 1;
    const long double qam = a - 1;
    long double c = 1;
    long double d = 1 - qab * x / qap;
    d = std::fabs(d) < kTiny ? kTiny : d;
    d = 1 / d;
    long double h = d;
    for (int m = 1; m <= kMostTerms; ++m) {
        const long double m2 = 2.0L * m;
        long double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        d = std::fabs(d) < kTiny ? kTiny : d;
        c = 1 + aa / c;
        c = std::fabs(c) < kTiny ? kTiny : c;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        d = std::fabs(d) < kTiny ? kTiny : d;
        c = 1 + aa / c;
        c = std::fabs(c) < kTiny ? kTiny : c;
        d = 1 / d;
        const long double step = d * c;
        h *= step;
        if (std::fabs(step - 1) < kEpsilon) {
            break;
        }
    }
    return h;
}

} // namespace

double RegularizedBeta(double x, double a, double b) {
    if (x <= 0) {
        return 0;
    }
    if (x >= 1) {
        return 1;
    }
    const long double lx = x;
    const long double la = a;
    const long double lb = b;
    // In long double: the log-gamma terms of a large b nearly cancel.
    const long double logFront = std::lgamma(la + lb) - std::lgamma(la) - std::lgamma(lb) +
                                 la * std::log(lx) + lb * std::log1p(-lx);
    const long double front = std::exp(logFront);
    if (lx < (la + 1) / (la + lb + 2)) {
        return static_cast<double>(front * BetaContinuedFraction(lx, la, lb) / la);
    }
    return static_cast<double>(1 - front * BetaContinuedFraction(1 - lx, lb, la) / lb);
}

double BetaQuantile(double q, double a, double b) {
    // Bisection: I_x(a, b) rises with x. Two hundred halvings pin down even quantiles near
    // 1e-12 to every digit a double holds.
    double low = 0;
    double high = 1;
    for (int step = 0; step < 200 && low < high; ++step) {
        const double middle = low + (high - low) / 2;
        if (middle <= low || middle >= high) {
            break;
        }
        if (RegularizedBeta(middle, a, b) < q) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return low + (high - low) / 2;
}

} // namespace bitwatch::stats

#include "stats/intervals.h"

#include <cmath>

#include <gtest/gtest.h>

#include "stats/beta.h"

namespace bitwatch::stats {
namespace {

struct KnownInterval {
    const char* name;
    std::int64_t successes;
    std::int64_t trials;
    double low;
    double high;
};

// Values worked out by hand from the closed forms, not by the code under test.
TEST(Wilson, KnownIntervals) {
    for (const KnownInterval& row : {
             KnownInterval{"none of 10", 0, 10, 0.0, 0.27753},
             KnownInterval{"1 of 10", 1, 10, 0.017876, 0.40415},
             KnownInterval{"half of 10", 5, 10, 0.23659, 0.76341},
             KnownInterval{"81 of 263", 81, 263, 0.25529, 0.36621},
             KnownInterval{"3 of 1000", 3, 1000, 0.0010208, 0.0087830},
             KnownInterval{"all of 10", 10, 10, 0.72247, 1.0},
         }) {
        const Interval interval = WilsonInterval(row.successes, row.trials);
        EXPECT_NEAR(interval.low, row.low, 1e-5 * std::max(1.0, row.low / 1e-3)) << row.name;
        EXPECT_NEAR(interval.high, row.high, 1e-5) << row.name;
    }
}

TEST(Wilson, EndsAreExactlyZeroAndOne) {
    for (const std::int64_t trials : {1LL, 10LL, 10'000LL, 1'000'000'000LL}) {
        EXPECT_EQ(WilsonInterval(0, trials).low, 0.0) << trials;
        EXPECT_EQ(WilsonInterval(trials, trials).high, 1.0) << trials;
        EXPECT_GT(WilsonInterval(1, trials).low, 0.0) << trials;
        EXPECT_LT(WilsonInterval(trials - 1 + (trials == 1 ? 1 : 0), trials).low, 1.0) << trials;
    }
}

TEST(Beta, MatchesClosedForms) {
    // I_x(1, b) = 1 - (1 - x)^b and I_x(a, 1) = x^a; I_0.5(2, 3) = P(Bin(4, 1/2) >= 2) = 11/16.
    EXPECT_NEAR(RegularizedBeta(0.3, 1, 7), 1 - std::pow(0.7, 7), 1e-14);
    EXPECT_NEAR(RegularizedBeta(0.3, 5, 1), std::pow(0.3, 5), 1e-14);
    EXPECT_NEAR(RegularizedBeta(0.5, 2, 3), 11.0 / 16.0, 1e-14);
    EXPECT_NEAR(RegularizedBeta(0.9, 3, 40), 1.0, 1e-14);
    EXPECT_EQ(RegularizedBeta(0, 2, 3), 0.0);
    EXPECT_EQ(RegularizedBeta(1, 2, 3), 1.0);
    EXPECT_NEAR(BetaQuantile(0.975, 1, 9), 1 - std::pow(0.025, 1.0 / 9), 1e-12);
    // A billion trials: the quantile is near 2.5e-11 and must keep its digits.
    const double tiny = BetaQuantile(0.025, 1, 1e9);
    const double expected = -std::expm1(std::log(0.975) / 1e9);
    EXPECT_NEAR(tiny / expected, 1.0, 1e-6);
}

TEST(InverseBinomial, KnownIntervals) {
    // The first success on trial 10: P(N <= 10) = 1 - (1 - p)^10 and P(N >= 10) = (1 - p)^9.
    const Interval first = InverseBinomialInterval(1, 10);
    EXPECT_NEAR(first.low, 1 - std::pow(0.975, 0.1), 1e-12);
    EXPECT_NEAR(first.high, 1 - std::pow(0.025, 1.0 / 9), 1e-12);
    // Success at once: nothing bounds p from above.
    EXPECT_EQ(InverseBinomialInterval(1, 1).high, 1.0);
    EXPECT_EQ(InverseBinomialInterval(7, 7).high, 1.0);
    // The second success on trial 50: each bound leaves 2.5 % of the stopping trials beyond it,
    // P(N <= 50) = 1 - (1 - p)^50 - 50 p (1 - p)^49 at the low end and
    // P(N >= 50) = (1 - p)^49 + 49 p (1 - p)^48 at the high end.
    const Interval second = InverseBinomialInterval(2, 50);
    const double low = second.low;
    const double high = second.high;
    EXPECT_NEAR(1 - std::pow(1 - low, 50) - 50 * low * std::pow(1 - low, 49), 0.025, 1e-10);
    EXPECT_NEAR(std::pow(1 - high, 49) + 49 * high * std::pow(1 - high, 48), 0.025, 1e-10);
}

} // namespace
} // namespace bitwatch::stats

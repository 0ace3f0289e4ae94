#pragma once

// The regularized incomplete beta function and its inverse, for exact binomial confidence
// bounds: P(Binomial(n, p) >= k) = I_p(k, n - k + 1).

namespace bitwatch::stats {

// I_x(a, b) for 0 <= x <= 1 and a, b > 0.
double RegularizedBeta(double x, double a, double b);

// The x in [0, 1] with I_x(a, b) = q, for 0 < q < 1: the q quantile of the Beta(a, b)
// distribution.
double BetaQuantile(double q, double a, double b);

} // namespace bitwatch::stats

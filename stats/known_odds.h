#pragma once

// The exact odds of "Undetected Errors" as the window, the page and bitwatch-stats ask for them,
// without a programme at each question. Every bit flips independently with the same
// probability p and the data are drawn apart from the flips, so given that exactly k bits
// flipped every set of k is equally likely: the odds at p are the binomial mixture
//     sum over k of C(n, k) p^k (1 - p)^(n - k) s_k
// of the shares s_k of k-bit errors missed. The demo's two sums have their shares built in; the
// others are worked out once, when first asked for, and kept.

#include <span>

#include "core/error_model.h"
#include "stats/code_shape.h"

namespace bitwatch::stats {

// Index k (0 to SentBits): the share of k-bit errors, or of L-bit bursts, that go undetected.
std::span<const double> KnownErrorShares(const CodeShape& shape);
std::span<const double> KnownBurstShares(const CodeShape& shape);

// The mixture above for shares s_0 to s_n. Its terms are never negative, so nothing cancels;
// 1 - p is exact for p >= 1/2, and the terms are added smallest first.
double BinomialMixture(std::span<const double> shares, double p);

// The probability of "Undetected Errors" per frame at flip probability p.
double UndetectedAtRate(const CodeShape& shape, double p);

// The same through the model: at p for random bit errors, or for k or L as the frame takes it.
double UndetectedThroughChannel(const CodeShape& shape, const ErrorModel& model, double p);

} // namespace bitwatch::stats

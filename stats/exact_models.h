#pragma once

// The exact share of frames whose errors go undetected when exactly k bits flip, or one burst
// of L bits: the companion's channels, computed rather than simulated.

#include <vector>

#include "core/error_model.h"
#include "stats/code_shape.h"
#include "stats/exact.h"

namespace bitwatch::stats {

// The bits of the shape's frame the channel may damage: the data, the shown parity bits, the
// check byte.
int SentBits(const CodeShape& shape);

// Index k (1 to maxK, at most SentBits): the share of k-bit errors, every set of k bits equally
// likely, that end in "Undetected Errors"; index 0 is 0. Data bits are "1" with probability
// dataOne. The linear codes from their weight distribution (A_k over the number of k-sets), the
// sums by a dynamic programme over the sent and received running sums.
std::vector<double> ErrorShares(const CodeShape& shape, int maxK,
                                double dataOne = kDataOneProbability);

// Index L (1 to maxLength, at most SentBits): the share of bursts of L bits that end in
// "Undetected Errors", the burst's start uniform over the frame in the order sent, its first and
// last bit flipped and each bit between them with probability 1/2; index 0 is 0.
std::vector<double> BurstShares(const CodeShape& shape, int maxLength,
                                double dataOne = kDataOneProbability);

// The probability of "Undetected Errors" per frame through the model: at flip probability p
// for random bit errors, or for k or L as a frame of the shape takes it.
double UndetectedThroughModel(const CodeShape& shape, const ErrorModel& model, double p);

} // namespace bitwatch::stats

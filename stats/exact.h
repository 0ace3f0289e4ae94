#pragma once

// The exact probability that a frame's errors go undetected on a binary symmetric channel,
// computed rather than simulated.

#include <cstdint>
#include <vector>

#include "stats/code_shape.h"

namespace bitwatch::stats {

// The probability with which the demo's channel really flips a bit at rate p (single
// precision): draws are multiples of 2^-24 and a bit flips when p > draw.
double EffectiveFlipProbability(float p);

// A data bit is "1" when its draw exceeds 0.5, which 2^23 - 1 of the 2^24 draws do.
inline constexpr double kDataOneProbability = 0.5 - 1.0 / 16777216.0;

// Number of codewords of each weight 0..n of a linear mode's code, counting the data bits and
// the check bits exposed to the channel (the shown parity cells, or the check byte). ModeNone
// is the code of all data words with no check bits. Check-byte codes go through their dual
// code of 256 words and the MacWilliams identity.
std::vector<std::uint64_t> WeightDistribution(const CodeShape& shape);

// Sum over codeword weights w >= 1 of A_w p^w (1 - p)^(n - w): the chance that the error
// pattern is a nonzero codeword, which a linear code cannot see.
double UndetectedFromWeights(const std::vector<std::uint64_t>& weights, double p);

// Exact dynamic programming over the running check values of the sent and the received data,
// for any check-byte code; data bits are "1" with probability dataOne. Needed for the two
// checksums, whose blind spots depend on the data (carries), and a cross-check for the others.
double UndetectedByRunningSums(const CodeShape& shape, double p, double dataOne);

// The probability of the verdict "Undetected Errors" for a frame sent at flip probability p.
double UndetectedProbability(const CodeShape& shape, double p,
                             double dataOne = kDataOneProbability);

} // namespace bitwatch::stats

#pragma once

// The exact shares of the demo's two sums, worked out by the programmes of exact_models.h when
// the project is built (tools/make_share_tables.cpp) and compiled in: the six-byte frame, data
// bits "1" with the demo's odds.

#include <cstdint>
#include <span>

namespace bitwatch::stats {

struct BuiltShares {
    std::int32_t codeMode;
    std::int16_t groupSize;
    std::span<const double> errors; // index k: the share of k-bit errors missed, k = 0 to n
    std::span<const double> bursts; // index L: the share of L-bit bursts missed
};

std::span<const BuiltShares> AllBuiltShares();

} // namespace bitwatch::stats

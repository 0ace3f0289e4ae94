#pragma once

// The check-byte codes as running values over the data bits, one step per bit in the order
// sent, for the exact dynamic programmes: the state after the last data bit, finished, is the
// check byte.

#include <cstdint>

#include "stats/code_shape.h"

namespace bitwatch::stats {

// The running value after data bit bitIndex (0 = byte 0's most significant) is one or zero.
// For the one's-complement sum, state 0 stands for a zero total and 1 to 255 for a folded one.
std::uint8_t RunningStep(const CodeShape& shape, std::uint8_t state, int bitIndex, bool one);

// The check byte of a running value.
std::uint8_t FinishCheck(const CodeShape& shape, std::uint8_t state);

} // namespace bitwatch::stats

#pragma once

// The channel of the demo over packed bits: the same draws in the same order as SendFrame on
// the cell records (144 a frame, 152 with a check byte) and the same verdict, an order of
// magnitude faster.

#include <cstdint>

#include "core/random_source.h"
#include "stats/code_shape.h"

namespace bitwatch::stats {

class PackedChannel {
  public:
    // flipProbability as the demo computes it from the rate text (single precision).
    PackedChannel(const CodeShape& shape, float flipProbability);

    // Sends one frame; true when its verdict is "Undetected Errors".
    bool SendFrame(RandomSource& random) const;

    // The verdict of a frame drawn elsewhere (bit 47 - i for data bit i or parity cell i; bit
    // 7 - k for check cell k): true for "Undetected Errors". parityErrors may hold flips of
    // hidden cells, which the channel never makes.
    bool Undetected(std::uint64_t data, std::uint64_t dataErrors, std::uint64_t parityErrors,
                    unsigned checkErrors) const {
        return dataErrors != 0 &&
               ChecksAgree(data, dataErrors, parityErrors & shownParity_, checkErrors);
    }

    // A draw of k steps flips a bit when k < flipThreshold().
    std::uint32_t flipThreshold() const { return flipThreshold_; }
    bool checkByte() const { return shape_.checkByte(); }
    // Draws a frame takes: 144, or 152 with a check byte.
    int drawsPerFrame() const { return checkByte() ? 152 : 144; }

  private:
    bool ChecksAgree(std::uint64_t data, std::uint64_t dataErrors, std::uint64_t parityErrors,
                     unsigned checkErrors) const;

    CodeShape shape_;
    // A draw of k steps of 2^-24 flips a bit when p > k * 2^-24, that is when k < this.
    std::uint32_t flipThreshold_;
    std::uint64_t shownParity_ = 0; // bit 47 - i for a shown parity cell i
};

} // namespace bitwatch::stats

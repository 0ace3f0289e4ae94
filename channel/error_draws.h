#pragma once

// How the k-bit and burst channels choose the bits they flip, from the demo's one generator.
// The window's channel and bitwatch-stats both draw here, so both send the same frames.
//
// The order of the draws, after the frame's 48 data draws and before nothing else:
// - exactly k of n bits: Floyd's algorithm, k draws for j = n - k to n - 1, each a whole number
//   t from 0 to j; place t flips, or place j when t flips already;
// - one burst of L of n bits: one draw for the first place, 0 to n - L; then one draw for each of
//   the L - 2 bits between the first and the last, in the order sent, which flips when its draw
//   is at least 1/2.
// A whole number from 0 to m - 1 is a draw's 2^24 steps taken modulo m, and a draw at or above
// the largest multiple of m below 2^24 is drawn again, so every number is exactly equally
// likely (a redraw happens about once in 170,000 draws for a frame of 96 bits).

#include <array>
#include <cstdint>

#include "core/error_model.h"
#include "core/random_source.h"

namespace bitwatch {

// A set of places in the order a frame is sent, 0 to kLongestFrame - 1.
class FlipPlaces {
  public:
    void Flip(int place) {
        words_[static_cast<std::size_t>(place) / 64] ^= std::uint64_t{1} << (place % 64);
    }
    // Flips place start + i for each set bit i of `bits` (start + 63 below 128).
    void FlipFrom(int start, std::uint64_t bits) {
        const auto word = static_cast<std::size_t>(start) / 64;
        const auto shift = static_cast<unsigned>(start) % 64;
        words_[word] ^= bits << shift;
        if (shift != 0 && word + 1 < words_.size()) {
            words_[word + 1] ^= bits >> (64 - shift);
        }
    }
    bool Has(int place) const {
        return ((words_[static_cast<std::size_t>(place) / 64] >> (place % 64)) & 1U) != 0;
    }
    const std::array<std::uint64_t, 2>& words() const { return words_; }

  private:
    std::array<std::uint64_t, 2> words_{};
};

// A whole number from 0 to bound - 1 (bound 1 to 2^24), every one equally likely.
std::uint32_t DrawBelow(RandomSource& random, std::uint32_t bound);

// Exactly k of the n places (1 <= k <= n <= kLongestFrame), every set of k equally likely.
FlipPlaces DrawExactPlaces(RandomSource& random, int n, int k);

// One burst of `length` of the n places (1 <= length <= n <= kLongestFrame).
FlipPlaces DrawBurst(RandomSource& random, int n, int length);

// The places the model flips in a frame of n bits (not for RandomBits, which draws per bit).
FlipPlaces DrawModelFlips(RandomSource& random, const ErrorModel& model, int n);

} // namespace bitwatch

#pragma once

// The demo's one uniform generator. It is never seeded: every launch starts from the same
// state, so every launch replays the same frames and errors.

#include <cstdint>
#include <vector>

namespace bitwatch {

class RandomSource {
  public:
    // The next value in [0, 1): the top 24 bits of a 32-bit PCG output scaled by 2^-24, which
    // is exact in single precision and so can never round up to 1.
    float Draw();

    // Tests replace the next draws with fixed values; once they are used up the generator
    // goes on from where it was.
    void Script(std::vector<float> values);

    std::uint64_t drawCount() const { return drawCount_; }

  private:
    std::uint32_t NextWord();

    std::uint64_t state_ = 0x853c49e6748fea9bULL;
    std::vector<float> script_;
    std::size_t scriptPos_ = 0;
    std::uint64_t drawCount_ = 0;
};

} // namespace bitwatch

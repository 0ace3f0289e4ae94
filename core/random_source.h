#pragma once

// The demo's one uniform generator. It is never seeded: every launch starts from the same
// state, so every launch replays the same frames and errors.

#include <cstdint>
#include <vector>

namespace bitwatch {

class RandomSource {
  public:
    // The state every launch of the demo starts from.
    static constexpr std::uint64_t kStartState = 0x853c49e6748fea9bULL;

    RandomSource() = default;
    // Another start state, for tools that run independent streams side by side.
    explicit RandomSource(std::uint64_t state) : state_(state) {}

    // The next value in [0, 1): the top 24 bits of a 32-bit PCG output scaled by 2^-24, which
    // is exact in single precision and so can never round up to 1.
    // Inline: the channel draws 152 numbers a frame.
    float Draw() {
        ++drawCount_;
        if (scriptPos_ < script_.size()) [[unlikely]] {
            return script_[scriptPos_++];
        }
        return static_cast<float>(NextWord() >> 8U) * kTwoToMinus24;
    }

    // The same draw as a count of 2^-24 steps, 0 to 2^24 - 1, for integer comparisons
    // (Draw() == DrawSteps() * 2^-24 exactly).
    std::uint32_t DrawSteps() {
        ++drawCount_;
        if (scriptPos_ < script_.size()) [[unlikely]] {
            return static_cast<std::uint32_t>(script_[scriptPos_++] * 16777216.0F);
        }
        return NextWord() >> 8U;
    }

    // The next `count` draws (at most 64) as bits, bit i set when draw i has at least
    // `threshold` steps: what comparing each DrawSteps() with the threshold gives, one draw
    // after another. The draws' states are computed side by side from the first (each is one
    // affine map of it), which a processor overlaps where one draw after another cannot be.
    std::uint64_t DrawAtLeast(int count, std::uint32_t threshold);

    // Moves the generator on by `draws` draws at once, in time proportional to the number's
    // bits, so that far-apart pieces of one stream can be run side by side.
    void Advance(std::uint64_t draws);

    // The state after n draws is multiplier * state + increment (mod 2^64): one affine map,
    // so that vector lanes holding consecutive states can all move on by n at once.
    struct Stride {
        std::uint64_t multiplier = 1;
        std::uint64_t increment = 0;
    };
    static Stride StrideOf(std::uint64_t draws);

    // The generator of a launch after it has made `draws` draws, as a link to a frame restores it.
    static RandomSource AfterDraws(std::uint64_t draws) {
        RandomSource source;
        source.Advance(draws);
        source.drawCount_ = draws;
        return source;
    }

    // The state the next draw is made from.
    std::uint64_t state() const { return state_; }

    // The draw as a count of 2^-24 steps made from a state: what DrawSteps returns there.
    static std::uint32_t StepsOf(std::uint64_t state) { return OutputOf(state) >> 8U; }
    static std::uint64_t Next(std::uint64_t state) { return state * kMultiplier + kIncrement; }

    // Tests replace the next draws with fixed values; once they are used up the generator
    // goes on from where it was.
    void Script(std::vector<float> values);

    std::uint64_t drawCount() const { return drawCount_; }

  private:
    static constexpr float kTwoToMinus24 = 1.0F / 16777216.0F;

    static constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
    static constexpr std::uint64_t kIncrement = 1442695040888963407ULL;

    // PCG-XSH-RR: small state, fast, and statistically far better than the draws need.
    static std::uint32_t OutputOf(std::uint64_t old) {
        const auto xorShifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
        const auto rotation = static_cast<std::uint32_t>(old >> 59U);
        return (xorShifted >> rotation) | (xorShifted << ((32U - rotation) & 31U));
    }

    std::uint32_t NextWord() {
        const std::uint64_t old = state_;
        state_ = Next(old);
        return OutputOf(old);
    }

    std::uint64_t state_ = kStartState;
    std::vector<float> script_;
    std::size_t scriptPos_ = 0;
    std::uint64_t drawCount_ = 0;
};

} // namespace bitwatch

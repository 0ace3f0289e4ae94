#include "core/random_source.h"

#include <utility>

namespace bitwatch {

namespace {
constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
constexpr float kTwoToMinus24 = 1.0F / 16777216.0F;
} // namespace

std::uint32_t RandomSource::NextWord() {
    // PCG-XSH-RR: small state, fast, and statistically far better than the draws need.
    const std::uint64_t old = state_;
    state_ = old * kMultiplier + kIncrement;
    const auto xorShifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rotation = static_cast<std::uint32_t>(old >> 59U);
    return (xorShifted >> rotation) | (xorShifted << ((32U - rotation) & 31U));
}

float RandomSource::Draw() {
    ++drawCount_;
    if (scriptPos_ < script_.size()) {
        return script_[scriptPos_++];
    }
    return static_cast<float>(NextWord() >> 8U) * kTwoToMinus24;
}

void RandomSource::Script(std::vector<float> values) {
    script_ = std::move(values);
    scriptPos_ = 0;
}

} // namespace bitwatch

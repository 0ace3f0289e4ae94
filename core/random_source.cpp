#include "core/random_source.h"

#include <utility>

namespace bitwatch {

void RandomSource::Script(std::vector<float> values) {
    script_ = std::move(values);
    scriptPos_ = 0;
}

RandomSource::Stride RandomSource::StrideOf(std::uint64_t draws) {
    // The state is a linear congruential sequence, so n steps are one affine map, built by
    // squaring (Brown, "Random number generation with arbitrary strides", 1994).
    Stride stride;
    std::uint64_t stepMultiplier = kMultiplier;
    std::uint64_t stepIncrement = kIncrement;
    while (draws > 0) {
        if ((draws & 1U) != 0) {
            stride.multiplier *= stepMultiplier;
            stride.increment = stride.increment * stepMultiplier + stepIncrement;
        }
        stepIncrement = (stepMultiplier + 1) * stepIncrement;
        stepMultiplier *= stepMultiplier;
        draws >>= 1U;
    }
    return stride;
}

void RandomSource::Advance(std::uint64_t draws) {
    const Stride stride = StrideOf(draws);
    state_ = state_ * stride.multiplier + stride.increment;
}

} // namespace bitwatch

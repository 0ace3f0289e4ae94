#include "core/random_source.h"

#include <utility>

namespace bitwatch {

void RandomSource::Script(std::vector<float> values) {
    script_ = std::move(values);
    scriptPos_ = 0;
}

void RandomSource::Advance(std::uint64_t draws) {
    // The state is a linear congruential sequence, so n steps are one affine map, built by
    // squaring (Brown, "Random number generation with arbitrary strides", 1994).
    std::uint64_t multiplier = 1;
    std::uint64_t increment = 0;
    std::uint64_t stepMultiplier = kMultiplier;
    std::uint64_t stepIncrement = kIncrement;
    while (draws > 0) {
        if ((draws & 1U) != 0) {
            multiplier *= stepMultiplier;
            increment = increment * stepMultiplier + stepIncrement;
        }
        stepIncrement = (stepMultiplier + 1) * stepIncrement;
        stepMultiplier *= stepMultiplier;
        draws >>= 1U;
    }
    state_ = state_ * multiplier + increment;
}

} // namespace bitwatch

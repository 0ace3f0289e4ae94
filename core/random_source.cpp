#include "core/random_source.h"

#include <array>
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

std::uint64_t RandomSource::DrawAtLeast(int count, std::uint32_t threshold) {
    std::uint64_t bits = 0;
    int i = 0;
    for (; i < count && scriptPos_ < script_.size(); ++i) {
        bits |= static_cast<std::uint64_t>(DrawSteps() >= threshold) << i;
    }
    // The states 0 to 64 draws on from here, as affine maps of this one.
    static const std::array<Stride, 65> kStrides = [] {
        std::array<Stride, 65> strides{};
        for (std::size_t n = 0; n < strides.size(); ++n) {
            strides[n] = StrideOf(n);
        }
        return strides;
    }();
    const std::uint64_t first = state_;
    const int left = count - i;
    for (int j = 0; j < left; ++j) {
        const Stride& stride = kStrides[static_cast<std::size_t>(j)];
        const std::uint32_t steps = StepsOf(first * stride.multiplier + stride.increment);
        bits |= static_cast<std::uint64_t>(steps >= threshold) << (i + j);
    }
    const Stride& past = kStrides[static_cast<std::size_t>(left)];
    state_ = first * past.multiplier + past.increment;
    drawCount_ += static_cast<std::uint64_t>(left);
    return bits;
}

void RandomSource::Advance(std::uint64_t draws) {
    const Stride stride = StrideOf(draws);
    state_ = state_ * stride.multiplier + stride.increment;
}

} // namespace bitwatch

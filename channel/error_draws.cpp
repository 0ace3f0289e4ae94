#include "channel/error_draws.h"

#include <algorithm>

namespace bitwatch {

namespace {

constexpr std::uint32_t kSteps = 1U << 24U;
constexpr std::uint32_t kHalf = kSteps / 2;

} // namespace

std::uint32_t DrawBelow(RandomSource& random, std::uint32_t bound) {
    const std::uint32_t accepted = kSteps - kSteps % bound;
    for (;;) {
        const std::uint32_t steps = random.DrawSteps();
        if (steps < accepted) {
            return steps % bound;
        }
    }
}

FlipPlaces DrawExactPlaces(RandomSource& random, int n, int k) {
    FlipPlaces places;
    for (int j = n - k; j < n; ++j) {
        const auto t = static_cast<int>(DrawBelow(random, static_cast<std::uint32_t>(j) + 1));
        places.Flip(places.Has(t) ? j : t);
    }
    return places;
}

FlipPlaces DrawBurst(RandomSource& random, int n, int length) {
    FlipPlaces places;
    const auto first =
        static_cast<int>(DrawBelow(random, static_cast<std::uint32_t>(n - length) + 1));
    const int last = first + length - 1;
    places.Flip(first);
    for (int place = first + 1; place < last; place += 64) {
        const int count = std::min(64, last - place);
        places.FlipFrom(place, random.DrawAtLeast(count, kHalf));
    }
    if (last != first) {
        places.Flip(last);
    }
    return places;
}

FlipPlaces DrawModelFlips(RandomSource& random, const ErrorModel& model, int n) {
    const int size = SizeInFrame(model, n);
    if (model.kind == ErrorModelKind::Burst) {
        return DrawBurst(random, n, size);
    }
    return DrawExactPlaces(random, n, size);
}

} // namespace bitwatch

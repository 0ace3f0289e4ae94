#include "core/random_source.h"

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

TEST(RandomSource, AdvanceSkipsExactlyThatManyDraws) {
    for (const std::uint64_t skip : {0ULL, 1ULL, 2ULL, 151ULL, 4096ULL * 152ULL, 1'000'003ULL}) {
        RandomSource stepped;
        for (std::uint64_t i = 0; i < skip; ++i) {
            stepped.Draw();
        }
        RandomSource jumped;
        jumped.Advance(skip);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(jumped.DrawSteps(), stepped.DrawSteps()) << "after " << skip;
        }
    }
}

} // namespace
} // namespace bitwatch

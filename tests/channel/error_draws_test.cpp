#include "channel/error_draws.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "core/explain.h"
#include "tests/test_support.h"

namespace bitwatch {
namespace {

constexpr float kStep = 1.0F / 16777216.0F;

float Steps(std::uint32_t steps) {
    return static_cast<float>(steps) * kStep;
}

std::vector<int> Places(const FlipPlaces& places) {
    std::vector<int> list;
    for (int place = 0; place < 128; ++place) {
        if (places.Has(place)) {
            list.push_back(place);
        }
    }
    return list;
}

// The documented order of the draws, with the boundaries where a draw is taken again or an
// inner bit flips.
TEST(ErrorDraws, FollowTheDocumentedOrder) {
    RandomSource random;
    // 2^24 = 1 (mod 3): the top step is drawn again.
    random.Script({Steps(16777215), Steps(5)});
    EXPECT_EQ(DrawBelow(random, 3), 2U);
    EXPECT_EQ(random.drawCount(), 2U);

    // Floyd: j = 54 draws 7, then j = 55 draws 7 again and takes 55 instead.
    random.Script({Steps(7), Steps(7)});
    EXPECT_EQ(Places(DrawExactPlaces(random, 56, 2)), (std::vector<int>{7, 55}));

    // A burst of 5 from place 10: inner bits just below 1/2, at 1/2, and the top.
    random.Script({Steps(10), Steps(8388607), Steps(8388608), Steps(16777215)});
    EXPECT_EQ(Places(DrawBurst(random, 56, 5)), (std::vector<int>{10, 12, 13, 14}));

    // A burst of the whole frame has one place to start and still draws for it.
    const std::uint64_t before = random.drawCount();
    EXPECT_EQ(Places(DrawBurst(random, 3, 3)).front(), 0);
    EXPECT_EQ(random.drawCount() - before, 2U);
}

double ChiSquare(const std::vector<int>& counts, double expected) {
    double sum = 0;
    for (const int count : counts) {
        sum += (count - expected) * (count - expected) / expected;
    }
    return sum;
}

// Far beyond the 99.9999 % point for these degrees of freedom, yet far below what any bias of a
// place's odds by a tenth of itself gives over a million draws.
double Bound(std::size_t cells) {
    const double freedom = static_cast<double>(cells) - 1;
    return freedom + 7 * std::sqrt(2 * freedom);
}

TEST(ErrorDraws, EveryPairAndEveryBurstStartIsEquallyLikely) {
    constexpr int kDraws = 1'000'000;
    constexpr int kFrame = 56;
    RandomSource random;
    std::vector<int> pairs(std::size_t{kFrame} * kFrame, 0);
    for (int i = 0; i < kDraws; ++i) {
        const std::vector<int> two = Places(DrawExactPlaces(random, kFrame, 2));
        ASSERT_EQ(two.size(), 2U);
        ++pairs[static_cast<std::size_t>(two[0]) * kFrame + static_cast<std::size_t>(two[1])];
    }
    std::vector<int> seen;
    for (int a = 0; a < kFrame; ++a) {
        for (int b = a + 1; b < kFrame; ++b) {
            seen.push_back(
                pairs[static_cast<std::size_t>(a) * kFrame + static_cast<std::size_t>(b)]);
        }
    }
    EXPECT_LT(ChiSquare(seen, kDraws / static_cast<double>(seen.size())), Bound(seen.size()));

    constexpr int kLength = 8;
    std::vector<int> starts(kFrame - kLength + 1, 0);
    std::vector<int> innerFlips(kLength, 0);
    for (int i = 0; i < kDraws; ++i) {
        const std::vector<int> burst = Places(DrawBurst(random, kFrame, kLength));
        ++starts[static_cast<std::size_t>(burst.front())];
        ASSERT_EQ(burst.back() - burst.front() + 1, kLength);
        for (const int place : burst) {
            ++innerFlips[static_cast<std::size_t>(place - burst.front())];
        }
    }
    EXPECT_LT(ChiSquare(starts, kDraws / static_cast<double>(starts.size())), Bound(starts.size()));
    for (int b = 1; b + 1 < kLength; ++b) {
        EXPECT_NEAR(innerFlips[static_cast<std::size_t>(b)], kDraws / 2.0,
                    5 * std::sqrt(kDraws / 4.0))
            << "inner bit " << b;
    }
}

// The window's channel under each model: the damage it leaves on the cells is exactly what the
// model promises, in every mode, and the draws are the 48 data draws and the model's.
TEST(ErrorDraws, TheWindowsChannelDamagesWhatTheModelSays) {
    for (const std::string& modeText : test::AllModeTexts()) {
        Form form;
        test::StartIn(form, modeText);
        const int n = SentLength(form);
        for (const int size : {1, 2, 3, 9, n, kLongestFrame}) {
            for (const ErrorModelKind kind : {ErrorModelKind::ExactBits, ErrorModelKind::Burst}) {
                form.errorModel = {kind, static_cast<std::int16_t>(size)};
                for (int frame = 0; frame < 20; ++frame) {
                    SendFrame(form);
                    const Explanation e = Explain(form);
                    ASSERT_EQ(e.frameLength, n) << modeText;
                    const int inFrame = std::min(size, n);
                    if (kind == ErrorModelKind::ExactBits) {
                        EXPECT_EQ(static_cast<int>(e.errors.size()), inFrame)
                            << modeText << ", " << size << " bits";
                    } else {
                        EXPECT_EQ(e.span, inFrame) << modeText << ", burst of " << size;
                    }
                    EXPECT_EQ(e.verdict, form.lblResult.text) << modeText;
                }
            }
        }
    }
}

} // namespace
} // namespace bitwatch

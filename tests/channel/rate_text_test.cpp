#include "channel/rate_text.h"

#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

struct RateCase {
    std::int64_t undetected;
    std::int64_t frames;
    const char* text;
};

TEST(RateText, ShortestFormCutToTwoDecimals) {
    const std::vector<RateCase> cases = {
        {0, 1, " 0"},         {0, 12345, " 0"},     {2, 300, "0.66"}, {1, 200, "0.5"},
        {1, 20000, " 0"},     {5, 100, " 5"},       {1, 3, " 33.33"}, {1, 1, " 100"},
        {57, 100, " 57"},     {1, 2000, "0.05"},    {1, 8, " 12.5"},  {2, 3, " 66.66"},
        {999, 1000, " 99.9"}, {1, 10000, "0.01"},   {3, 7, " 42.85"}, {29, 100, " 29"},
        {58, 100, " 58"},     {101, 100000, "0.1"},
    };
    for (const RateCase& c : cases) {
        EXPECT_EQ(RateText(c.undetected, c.frames), c.text) << c.undetected << " in " << c.frames;
    }
}

TEST(RateText, StaysExactPastThirtyTwoBits) {
    constexpr std::int64_t frames = 4'294'967'296;
    EXPECT_EQ(RateText(frames / 4, frames), " 25");
    EXPECT_EQ(RateText(3'000'000'000, 3'000'000'001), " 99.99");
    EXPECT_EQ(RateText(2'147'483'648, 2'147'483'648), " 100");
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(RateText(largest, largest), " 100");
    EXPECT_EQ(RateText(largest / 2, largest), " 49.99");
    EXPECT_EQ(RateText(1, largest), " 0");
}

} // namespace
} // namespace bitwatch

#include "core/codes.h"

#include <string_view>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

TEST(Crc8, StandardCheckValueOverAsciiDigits) {
    constexpr std::string_view digits = "123456789";
    std::array<std::uint8_t, 9> bytes{};
    for (std::size_t i = 0; i < digits.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(digits[i]);
    }
    EXPECT_EQ(Crc8(bytes), 0xF4);
}

TEST(Crc8, IsLinearAndDetectsEverySingleBitError) {
    FrameBytes a{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC};
    for (int k = 0; k < 48; ++k) {
        FrameBytes damaged = a;
        damaged[k / 8] ^= static_cast<std::uint8_t>(0x80U >> (k % 8));
        EXPECT_NE(Crc8(damaged), Crc8(a)) << "bit " << k;
        FrameBytes error{};
        error[k / 8] = static_cast<std::uint8_t>(0x80U >> (k % 8));
        EXPECT_EQ(Crc8(damaged), Crc8(a) ^ Crc8(error)) << "bit " << k;
    }
}

TEST(InternetChecksum, FoldsEndAroundCarry) {
    EXPECT_EQ(InternetByte(FrameBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0x00);
    EXPECT_EQ(InternetByte(FrameBytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), 0xFF);
    // 0x80 + 0x80 = 0x100 folds to 0x01, complemented to 0xFE.
    EXPECT_EQ(InternetByte(FrameBytes{0x80, 0x80, 0x00, 0x00, 0x00, 0x00}), 0xFE);
}

TEST(GroupParity, CountsOnlyTheNamedBits) {
    const FrameBytes bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    EXPECT_TRUE(GroupParity(bytes, 0, 7));
    EXPECT_FALSE(GroupParity(bytes, 16, 23));
    EXPECT_FALSE(GroupParity(bytes, 0, 6));
    EXPECT_TRUE(GroupParity(bytes, 7, 7));
}

} // namespace
} // namespace bitwatch

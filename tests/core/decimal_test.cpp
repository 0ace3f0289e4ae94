#include "core/decimal.h"

#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

#ifdef __cpp_lib_to_chars
// The WebAssembly build converts with strtod_l; the native one with from_chars. The two must
// agree to the last bit, or a lesson would not replay the same in the browser.
void ExpectSame(const std::string& digits) {
    const DecimalValue native = ParseDecimalFromChars(digits);
    const DecimalValue fallback = ParseDecimalStrtod(digits);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(native.magnitude),
              std::bit_cast<std::uint64_t>(fallback.magnitude))
        << digits << ": " << native.magnitude << " against " << fallback.magnitude;
    EXPECT_EQ(native.outOfRange, fallback.outOfRange) << digits;
}

TEST(Decimal, BothConversionsAgreeOnHardCases) {
    for (const char* digits : {
             "0",
             "1",
             "5",
             "100",
             "0.5",
             ".5",
             "5.",
             "1e2",
             "1E-2",
             "2.5e+3",
             "0.1",
             "0.3",
             "1e308",
             "1.7976931348623157e308",
             "1.7976931348623158e308",
             "1.8e308",
             "1e309",
             "2.2250738585072014e-308",
             "2.2250738585072011e-308",
             "4.9406564584124654e-324",
             "2.4703282292062327e-324",
             "2.4703282292062328e-324",
             "1e-320",
             "1e-400",
             "9007199254740993",
             "9007199254740992.5",
             "0.000000000000000000000000000001",
             "123456789012345678901234567890e-10",
             "1e-999999999",
             "1e999999999",
             "0000000000000000001.0000000000000000000000000000000000000001",
             "7.2057594037927933e16",
             "8.988465674311580536566680e307",
         }) {
        ExpectSame(digits);
    }
}

TEST(Decimal, BothConversionsAgreeOnRandomNumbers) {
    std::mt19937_64 random(20261208);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(1, 40);
    std::uniform_int_distribution<int> exponent(-340, 320);
    for (int i = 0; i < 20000; ++i) {
        std::string digits;
        const int integerDigits = length(random) % 20;
        for (int k = 0; k < integerDigits; ++k) {
            digits += static_cast<char>('0' + digit(random));
        }
        digits += '.';
        for (int k = length(random) % 25; k >= 0; --k) {
            digits += static_cast<char>('0' + digit(random));
        }
        if (i % 3 != 0) {
            digits += "e" + std::to_string(exponent(random));
        }
        ExpectSame(digits);
    }
}
#endif

TEST(Decimal, TheFallbackTellsWhatIsOutOfRange) {
    EXPECT_EQ(ParseDecimalStrtod("2.5").magnitude, 2.5);
    EXPECT_TRUE(ParseDecimalStrtod("1e400").outOfRange);
    EXPECT_TRUE(ParseDecimalStrtod("1e-400").outOfRange);
    EXPECT_FALSE(ParseDecimalStrtod("1e-320").outOfRange);
}

} // namespace
} // namespace bitwatch

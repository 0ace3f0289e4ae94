#include "core/text_number.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace bitwatch {
namespace {

struct Case {
    std::string text;
    double expected;
};

TEST(TextToNumber, TakesTheLeadingNumericPart) {
    const std::vector<Case> cases = {
        {"1", 1.0},       {"  2.5", 2.5},     {"\t3", 3.0},    {"+4", 4.0},       {"-5", -5.0},
        {".5", 0.5},      {"-.25", -0.25},    {"7.", 7.0},     {"1e2", 100.0},    {"1E-2", 0.01},
        {"2.5e+1", 25.0}, {"1e", 1.0},        {"1e+", 1.0},    {"3e-x", 3.0},     {"12abc", 12.0},
        {"1.2.3", 1.2},   {"5 %", 5.0},       {"1 2", 1.0},    {"", 0.0},         {"   ", 0.0},
        {"abc", 0.0},     {".", 0.0},         {"-", 0.0},      {"+-1", 0.0},      {"e5", 0.0},
        {"nan", 0.0},     {"inf", 0.0},       {"-inf", 0.0},   {"0x10", 0.0},     {"1,5", 1.0},
        {"100", 100.0},   {"0.0001", 0.0001}, {"1e-400", 0.0}, {"000123", 123.0}, {"- 1", 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextToNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextToNumber, OverflowGivesInfinityWithItsSign) {
    EXPECT_EQ(TextToNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(TextToNumber("-1e999"), -HUGE_VAL);
    EXPECT_EQ(TextToNumber("1e99999999999999999999999"), HUGE_VAL);
    EXPECT_EQ(TextToNumber("0.000001e400"), HUGE_VAL);
    EXPECT_EQ(TextToNumber("0.000001e300"), 1e294);
    EXPECT_EQ(TextToNumber("0e999"), 0.0);
    EXPECT_EQ(TextToNumber("10e-999"), 0.0);
    EXPECT_EQ(TextToNumber("1e-99999999999999999999"), 0.0);
    EXPECT_EQ(TextToNumber(std::string(400, '9')), HUGE_VAL);
}

TEST(TextToNumber, NeverGivesNaN) {
    for (const char* text : {"nan", "NaN(1)", "-nan", "infinity", "1e999e999", "\x80\xff"}) {
        EXPECT_FALSE(std::isnan(TextToNumber(text))) << text;
    }
}

TEST(TextToNumber, LongTexts) {
    EXPECT_EQ(TextToNumber(std::string(32767, '0')), 0.0);
    EXPECT_EQ(TextToNumber("0." + std::string(32760, '0') + "1"), 0.0);
    EXPECT_EQ(TextToNumber(std::string(32767, 'x')), 0.0);
    std::string digits = "5" + std::string(1000, '0');
    EXPECT_EQ(TextToNumber(digits + "e-1000"), 5.0);
    EXPECT_EQ(TextToNumber("2" + std::string(1'000'000, 'z')), 2.0);
}

} // namespace
} // namespace bitwatch

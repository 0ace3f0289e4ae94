#include "stats/options.h"

#include <gtest/gtest.h>

namespace bitwatch::stats {
namespace {

ParsedOptions Parse(const std::vector<std::string_view>& arguments) {
    return ParseOptions(arguments, 2);
}

TEST(Options, Defaults) {
    const ParsedOptions parsed = Parse({});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.modes.size(), 12U);
    EXPECT_EQ(parsed.options.rates, (std::vector<std::string>{"0.1", "1", "5"}));
    EXPECT_EQ(parsed.options.frames, 1'000'000);
    EXPECT_EQ(parsed.options.threads, 2);
    EXPECT_FALSE(parsed.options.seed);
}

TEST(Options, ReadsEveryOptionInBothSpellings) {
    const ParsedOptions parsed =
        Parse({"--modes", "Parity 8,CRC-8", "--rates=0.5,2", "--frames", "500",
               "--until-undetected=3", "--seed", "42", "--threads=4", "--csv"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.modes, (std::vector<std::string>{"Parity 8", "CRC-8"}));
    EXPECT_EQ(parsed.options.rates, (std::vector<std::string>{"0.5", "2"}));
    EXPECT_EQ(parsed.options.frames, 500);
    EXPECT_EQ(parsed.options.untilUndetected, 3);
    EXPECT_EQ(parsed.options.seed, 42U);
    EXPECT_EQ(parsed.options.threads, 4);
    EXPECT_TRUE(parsed.options.csv);
}

TEST(Options, ASearchWithoutAFrameCountGetsALargeCap) {
    EXPECT_EQ(Parse({"--until-undetected", "1"}).options.frames, 1'000'000'000);
}

TEST(Options, RejectsWhatItCannotUse) {
    for (const std::vector<std::string_view>& bad : std::vector<std::vector<std::string_view>>{
             {"--modes", "crc-8"},
             {"--modes", "CRC-8,"},
             {"--rates", "abc"},
             {"--rates", "101"},
             {"--rates", "-1"},
             {"--rates", "1e999"},
             {"--frames", "0"},
             {"--frames", "12x"},
             {"--threads", "0"},
             {"--seed", "-3"},
             {"--frames"},
             {"--csv=yes"},
             {"--bogus"},
         }) {
        EXPECT_NE(Parse(bad).error, "") << bad.front() << " " << (bad.size() > 1 ? bad[1] : "");
    }
}

TEST(Options, SaysWhenACountIsTooLarge) {
    EXPECT_NE(Parse({"--frames", "99999999999999999999"}).error.find("too large"),
              std::string::npos);
    EXPECT_NE(Parse({"--frames", "-99999999999999999999"}).error.find("at least 1"),
              std::string::npos);
}

TEST(Options, AnUnknownModeListsTheValidOnes) {
    const std::string error = Parse({"--modes", "CRC8"}).error;
    for (const char* name : {"None", "Parity 6V", "Internet", "CRC-8"}) {
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

} // namespace
} // namespace bitwatch::stats

#include "stats/options.h"

#include <ostream>

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

TEST(Options, ReadsListsAndRangesOfBits) {
    const ParsedOptions parsed = Parse({"--errors", "1-3,5,2,96"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.model, ErrorModelKind::ExactBits);
    EXPECT_EQ(parsed.options.sizes, (std::vector<int>{1, 2, 3, 5, 96}));
    EXPECT_EQ(Parse({"--bursts=4"}).options.model, ErrorModelKind::Burst);
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

struct MessageCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* says; // a part of the message
};

void PrintTo(const MessageCase& c, std::ostream* out) {
    *out << c.name;
}

class OptionMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(OptionMessage, SaysWhatIsWrong) {
    const std::vector<std::string_view> arguments(GetParam().arguments.begin(),
                                                  GetParam().arguments.end());
    const std::string error = Parse(arguments).error;
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
    EXPECT_LE(error.size(), 300U) << "echoes too much: " << error;
}

const std::string kLongWord(100'000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Commands, OptionMessage,
    testing::Values(
        MessageCase{"frames_beyond_int64", {"--frames", "99999999999999999999"}, "too large"},
        MessageCase{"frames_at_int64_max", {"--frames", "9223372036854775807"}, "too large"},
        MessageCase{
            "frames_past_maximum", {"--frames=1000000000000001"}, "at most 1000000000000000"},
        MessageCase{"search_past_maximum", {"--until-undetected", "1000000000000001"}, "too large"},
        MessageCase{"negative_frames", {"--frames", "-99999999999999999999"}, "at least 1"},
        MessageCase{"seed_beyond_uint64", {"--seed", "18446744073709551616"}, "too large"},
        MessageCase{"negative_seed", {"--seed", "-3"}, "give a whole number"},
        MessageCase{"rate_underflows", {"--rates", "1e-400"}, "too small to represent"},
        MessageCase{"errors_and_rates", {"--rates", "1", "--errors", "2"}, "different channels"},
        MessageCase{"errors_and_bursts", {"--bursts=2", "--errors", "2"}, "different channels"},
        MessageCase{"errors_backwards", {"--errors", "8-1"}, "ranges such as 1-8"},
        MessageCase{"errors_zero", {"--errors", "0-3"}, "from 1 to 96"},
        MessageCase{"errors_empty", {"--errors", "2,"}, "bad bit count ''"},
        MessageCase{"errors_open_range", {"--errors", "3-"}, "bad bit count '3-'"},
        MessageCase{"bursts_past_every_frame", {"--bursts", "97"}, "from 1 to 96"},
        MessageCase{"bursts_past_the_chosen_frames",
                    {"--modes", "CRC-8,None", "--bursts", "50-57"},
                    "no chosen code sends 57 bits: the longest of their frames has 56"},
        MessageCase{"rate_overflows", {"--rates", "1e400"}, "too large"},
        MessageCase{"rate_above_100", {"--rates", "101"}, "from 0 to 100"},
        MessageCase{"stray_word", {"foo"}, "unexpected argument 'foo'"},
        MessageCase{"unknown_option", {"--bogus"}, "unknown option '--bogus'"},
        MessageCase{"long_unknown_option", {"--" + kLongWord}, "..."},
        MessageCase{"long_unknown_mode", {"--modes", kLongWord}, "unknown mode 'xxx"},
        MessageCase{"long_rate", {"--rates", kLongWord}, "bad rate 'xxx"}),
    [](const testing::TestParamInfo<MessageCase>& row) { return std::string(row.param.name); });

TEST(Options, CutsAnEchoBetweenCharacters) {
    std::string accents;
    for (int i = 0; i < 100; ++i) {
        accents += "\xC3\xA9"; // é
    }
    const std::string error = Parse({"--modes", accents}).error;
    const std::size_t quote = error.find('\'');
    const std::size_t dots = error.find("...'");
    ASSERT_NE(dots, std::string::npos) << error;
    EXPECT_EQ((dots - quote - 1) % 2, 0U) << "cut inside a character: " << error;
}

TEST(Options, ReadsNegativeZeroAsZero) {
    const ParsedOptions parsed = Parse({"--rates", "-0,-0.0,0"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.rates, (std::vector<std::string>{"0", "0", "0"}));
}

TEST(Options, TakesTheLargestCounts) {
    const ParsedOptions parsed =
        Parse({"--frames", "1000000000000000", "--until-undetected", "1000000000000000"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.frames, kMaxFrames);
    EXPECT_EQ(parsed.options.untilUndetected, kMaxUntilUndetected);
}

TEST(Options, AnUnknownModeListsTheValidOnes) {
    const std::string error = Parse({"--modes", "CRC8"}).error;
    for (const char* name : {"None", "Parity 6V", "Internet", "CRC-8"}) {
        EXPECT_NE(error.find(name), std::string::npos) << error;
    }
}

} // namespace
} // namespace bitwatch::stats

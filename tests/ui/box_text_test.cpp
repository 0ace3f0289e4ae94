// Whatever text a box is given comes back as the box holds it and reaches JSON intact: valid
// UTF-8 unchanged, ill-formed sequences as U+FFFD, and nothing beyond the box's length.

#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "ui/events.h"
#include "ui/records_json.h"

namespace bitwatch {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

struct TextCase {
    const char* name;
    std::string given;
    std::string held; // the box's text afterwards
    std::string json; // JsonString of the held text
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.name;
}

class BoxText : public testing::TestWithParam<TextCase> {};

TEST_P(BoxText, HoldsAndWritesTheText) {
    const TextCase& c = GetParam();
    Form form;
    Startup(form);
    RunEvent(form, {EventKind::RateTextChanged, 0, c.given});
    EXPECT_EQ(form.cmbErrorRate.text(), c.held);
    EXPECT_EQ(JsonString(c.given), c.json);
    EXPECT_EQ(JsonString(form.cmbErrorRate.text()), c.json);
}

const std::string kR = kReplacement;

INSTANTIATE_TEST_SUITE_P(
    Texts, BoxText,
    testing::Values(
        TextCase{"accent", "\xC3\xA9", "\xC3\xA9", "\"\xC3\xA9\""},
        TextCase{"cjk", "\xE4\xB8\xAD\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87",
                 "\"\xE4\xB8\xAD\xE6\x96\x87\""},
        TextCase{"emoji", "1\xF0\x9F\x98\x80", "1\xF0\x9F\x98\x80", "\"1\xF0\x9F\x98\x80\""},
        TextCase{"combining_mark", "e\xCC\x81", "e\xCC\x81", "\"e\xCC\x81\""},
        TextCase{"right_to_left", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D",
                 "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\""},
        TextCase{"controls", std::string("a\tb\x01\x1F\x7F", 6), std::string("a\tb\x01\x1F\x7F", 6),
                 "\"a\\u0009b\\u0001\\u001f\x7F\""},
        TextCase{"nul",
                 std::string("1\0"
                             "2",
                             3),
                 std::string("1\0"
                             "2",
                             3),
                 "\"1\\u00002\""},
        TextCase{"quote_and_backslash", "a\"b\\", "a\"b\\", "\"a\\\"b\\\\\""},
        TextCase{"line_separators", "\xE2\x80\xA8\xE2\x80\xA9", "\xE2\x80\xA8\xE2\x80\xA9",
                 "\"\xE2\x80\xA8\xE2\x80\xA9\""},
        TextCase{"lone_continuation",
                 "\x80"
                 "5",
                 kR + "5", "\"" + kR + "5\""},
        TextCase{"cut_sequence",
                 "\xE2\x82"
                 "1",
                 kR + "1", "\"" + kR + "1\""},
        TextCase{"surrogate", "\xED\xA0\x80", kR + kR + kR, "\"" + kR + kR + kR + "\""},
        TextCase{"overlong", "\xC0\xAF", kR + kR, "\"" + kR + kR + "\""},
        TextCase{"beyond_unicode", "\xF4\x90\x80\x80", kR + kR + kR + kR,
                 "\"" + kR + kR + kR + kR + "\""},
        TextCase{"latin1_reread_as_utf8", "\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9",
                 "\"\xC3\x83\xC2\xA9\""}),
    [](const testing::TestParamInfo<TextCase>& row) { return std::string(row.param.name); });

TEST(BoxText, HoldsAtMostTheLineEditsLengthInUtf16Units) {
    Form form;
    Startup(form);
    RunEvent(form, {EventKind::ModeTextChanged, 0, std::string(kBoxTextLimit + 1, 'x')});
    EXPECT_EQ(form.cmbMode.text(), std::string(kBoxTextLimit, 'x'));
    // An astral character takes two units: one that would straddle the limit is left out whole.
    const std::string emoji = "\xF0\x9F\x98\x80";
    RunEvent(form, {EventKind::RateTextChanged, 0, std::string(kBoxTextLimit - 1, '1') + emoji});
    EXPECT_EQ(form.cmbErrorRate.text(), std::string(kBoxTextLimit - 1, '1'));
    RunEvent(form, {EventKind::RateTextChanged, 0, std::string(kBoxTextLimit - 2, '1') + emoji});
    EXPECT_EQ(form.cmbErrorRate.text(), std::string(kBoxTextLimit - 2, '1') + emoji);
}

TEST(BoxText, NonAsciiTextNamesNoModeAndEndsTheRatesNumber) {
    Form form;
    Startup(form);
    RunEvent(form, {EventKind::ModeTextChanged, 0, "CRC-8\xC3\xA9"});
    EXPECT_EQ(form.codeMode, ModeNone);
    RunEvent(form, {EventKind::ModeTextChanged, 0,
                    "CRC\xE2\x80\x91"
                    "8"}); // a non-breaking hyphen
    EXPECT_EQ(form.codeMode, ModeNone);
    RunEvent(form, {EventKind::RateTextChanged, 0, "100\xC3\xA9"});
    RunEvent(form, {EventKind::PressOne, 0, {}});
    EXPECT_EQ(form.lblResult.text, "Undetected Errors");             // every bit flipped, mode None
    RunEvent(form, {EventKind::RateTextChanged, 0, "\xEF\xBC\x95"}); // a full-width 5 is no digit
    RunEvent(form, {EventKind::PressOne, 0, {}});
    EXPECT_EQ(form.lblResult.text, "No Errors");
}

} // namespace
} // namespace bitwatch

// The explanation beside the window: its verdict is the check engine's in every state a random
// user reaches, and its working is recomputed here independently (group parities, column
// counts, sums, and the division, multiplied out over GF(2)).

#include "core/explain.h"

#include <bit>
#include <random>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "ui/companion.h"
#include "ui/events.h"

namespace bitwatch {
namespace {

// Carry-less product of two polynomials over GF(2).
std::uint64_t Times(std::uint64_t a, std::uint64_t b) {
    std::uint64_t product = 0;
    for (int i = 0; i < 64; ++i) {
        if (((b >> i) & 1U) != 0) {
            product ^= a << i;
        }
    }
    return product;
}

int Degree(std::uint64_t p) {
    return 63 - std::countl_zero(p);
}

std::uint64_t Remainder(std::uint64_t dividend, std::uint64_t divisor) {
    while (dividend != 0 && Degree(dividend) >= Degree(divisor)) {
        dividend ^= divisor << (Degree(dividend) - Degree(divisor));
    }
    return dividend;
}

bool Rx(const Form& form, int k) {
    return form.row1[kDataBits + k].text == "1";
}

// The working that the explanation shows, recomputed from the cells.
void ExpectWorking(const Form& form, const Explanation& e) {
    if (UsesParityGroups(form.groupSize)) {
        const std::vector<GroupWorking>& groups = std::get<ParityWorking>(e.working).groups;
        ASSERT_EQ(groups.size(), static_cast<std::size_t>(kDataBits / form.groupSize));
        for (const GroupWorking& group : groups) {
            int ones = 0;
            for (int k = group.first; k <= group.last; ++k) {
                ones += Rx(form, k) ? 1 : 0;
            }
            EXPECT_EQ(group.ones, ones);
            EXPECT_EQ(group.parityBit, form.parity[kDataBits + group.last].text == "1");
        }
        return;
    }
    if (form.codeMode == ModeVerticalParity) {
        for (int c = 0; c < 8; ++c) {
            int ones = 0;
            for (int r = 0; r < 6; ++r) {
                ones += Rx(form, 8 * r + c) ? 1 : 0;
            }
            EXPECT_EQ(std::get<ColumnWorking>(e.working).ones[static_cast<std::size_t>(c)], ones);
        }
    } else if (form.codeMode == ModeChecksum || form.codeMode == ModeInternet) {
        int total = 0;
        for (int k = 0; k < kDataBits; ++k) {
            total += Rx(form, k) ? 1 << (7 - k % 8) : 0;
        }
        EXPECT_EQ(std::get<SumWorking>(e.working).total, total);
    } else if (form.codeMode == ModeCrc8) {
        std::uint64_t received = 0;
        for (int k = 0; k < kDataBits; ++k) {
            received = received * 2 + (Rx(form, k) ? 1 : 0);
        }
        for (int j = 0; j < kCheckBits; ++j) {
            received = received * 2 + (form.sum2[j].text == "1" ? 1 : 0);
        }
        const CrcWorking& crc = std::get<CrcWorking>(e.working);
        EXPECT_EQ(crc.dividend, received);
        EXPECT_EQ(crc.remainder, Remainder(received, kCrcGenerator));
        EXPECT_EQ(e.checkAgrees, crc.remainder == 0);
        if (e.dataDiffers && e.checkAgrees) {
            EXPECT_EQ(Times(kCrcGenerator, crc.quotient), crc.errorPattern);
        }
    }
}

// 100,000 random frames with random damage in every mode: the explanation's verdict is the one
// the check engine wrote, and every verdict each mode can give is seen.
TEST(Explain, AgreesWithTheCheckEngineOnRandomFrames) {
    std::mt19937_64 random(2026);
    for (const ModeRow& mode : kModeTable) {
        Form form;
        test::StartIn(form, std::string(mode.text));
        std::set<std::string> seen;
        for (int frame = 0; frame < 100'000 / static_cast<int>(kModeTable.size()); ++frame) {
            const char* rates[] = {"1", "3", "10", "40"};
            form.cmbErrorRate.SetText(rates[random() % 4]);
            RunEvent(form, {EventKind::PressOne, 0, {}});
            for (int click = static_cast<int>(random() % 3); click > 0; --click) {
                const auto kind =
                    static_cast<EventKind>(random() % 3); // a cell of row1, parity, sum2
                RunEvent(form, {kind,
                                static_cast<std::int16_t>(48 + random() % 48 -
                                                          (kind == EventKind::ClickCheck ? 48 : 0)),
                                {}});
            }
            const Explanation e = Explain(form);
            ASSERT_EQ(e.verdict, form.lblResult.text) << mode.text << ", frame " << frame;
            ExpectWorking(form, e);
            seen.insert(form.lblResult.text);
        }
        EXPECT_EQ(seen.size(), mode.codeMode == ModeNone ? 2U : 4U) << mode.text;
    }
}

// The division as a student writes it, worked again here: the dividend; under each leading 1 the
// generator; what remains from its next leading 1 for nine bits; at last the 8-bit remainder.
TEST(Explain, WritesTheDivisionAsAStudentDoes) {
    std::mt19937_64 random(56);
    Form form;
    test::StartIn(form, "CRC-8");
    for (int frame = 0; frame < 2000; ++frame) {
        RunEvent(form, {EventKind::PressOne, 0, {}});
        for (int click = static_cast<int>(random() % 4); click > 0; --click) {
            RunEvent(form,
                     {EventKind::ClickData, static_cast<std::int16_t>(48 + random() % 48), {}});
        }
        const Explanation e = Explain(form);
        const CrcWorking& crc = std::get<CrcWorking>(e.working);
        const std::vector<std::string> rows = DivisionRows(crc);
        const auto row = [](int indent, std::uint64_t bits, int width) {
            std::string text(static_cast<std::size_t>(indent), ' ');
            for (int i = width - 1; i >= 0; --i) {
                text += ((bits >> i) & 1U) != 0 ? '1' : '0';
            }
            return text;
        };
        const auto leadingOne = [](std::uint64_t working) {
            return 55 - Degree(working);
        };
        std::vector<std::string> expected{row(0, crc.dividend, 56)};
        std::uint64_t working = crc.dividend;
        while (working != 0 && leadingOne(working) < kDataBits) {
            const int at = leadingOne(working);
            expected.push_back(row(at, kCrcGenerator, 9));
            working ^= std::uint64_t{kCrcGenerator} << (47 - at);
            if (working != 0 && leadingOne(working) < kDataBits) {
                expected.push_back(
                    row(leadingOne(working), working >> (47 - leadingOne(working)), 9));
            }
        }
        expected.push_back(row(kDataBits, working, 8));
        ASSERT_EQ(rows, expected) << "frame " << frame;
        EXPECT_EQ(working, Remainder(crc.dividend, kCrcGenerator));
        for (const std::string& text : rows) {
            ASSERT_LE(text.size(), 56U) << text;
        }
    }
}

struct HandCase {
    const char* name;
    const char* mode;
    std::vector<Event> clicks;
    const char* verdict;
    const char* says; // a part of the reason
};

void PrintTo(const HandCase& c, std::ostream* out) {
    *out << c.name;
}

Event Click(int index) {
    return {EventKind::ClickData, static_cast<std::int16_t>(index), {}};
}

class HandMadeDamage : public testing::TestWithParam<HandCase> {};

TEST_P(HandMadeDamage, GivesTheReason) {
    const HandCase& c = GetParam();
    Form form;
    test::StartIn(form, c.mode);
    for (const Event& click : c.clicks) {
        RunEvent(form, click);
    }
    const Explanation e = Explain(form);
    EXPECT_EQ(form.lblResult.text, c.verdict);
    EXPECT_EQ(e.verdict, c.verdict);
    EXPECT_NE(e.reason.find(c.says), std::string::npos) << e.reason;
    EXPECT_NE(CompanionHtml(form).find(c.says), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, HandMadeDamage,
    testing::Values(
        HandCase{"parity_two_flips_in_one_group",
                 "Parity 8",
                 {Click(58), Click(60)},
                 "Undetected Errors",
                 "both flips are in group 2, whose parity is still even"},
        HandCase{"parity_flip_and_its_parity_bit",
                 "Parity 8",
                 {Click(48), {EventKind::ClickParity, 55, {}}},
                 "Undetected Errors",
                 "both flips are in group 1"},
        HandCase{"parity_one_flip",
                 "Parity 2",
                 {Click(49)},
                 "Errors Detected",
                 "group 1 holds an odd number of flips (1)"},
        HandCase{"parity_only_its_bit",
                 "Parity 48",
                 {{EventKind::ClickParity, 95, {}}},
                 "False Positive",
                 "the parity bit of group 1 was flipped"},
        HandCase{"column_twice",
                 "Parity 6V",
                 {Click(50), Click(66)},
                 "Undetected Errors",
                 "the flips are all in column 2"},
        HandCase{"column_once", "Parity 6V", {Click(50)}, "Errors Detected", "in bits 2, 3, 4"},
        // Bit 5 of byte 1 goes from 0 to 1 (+4) and bit 5 of byte 3 from 1 to 0 (-4).
        HandCase{"sums_cancel",
                 "Checksum",
                 {Click(29), Click(48 + 13), Click(48 + 29)},
                 "Undetected Errors",
                 "+4 in byte 1 and -4 in byte 3, which add up to 0"},
        HandCase{"internet_two_zeros",
                 "Internet",
                 {Click(48), Click(49), Click(50), Click(51), Click(52), Click(53), Click(54),
                  Click(55)},
                 "Errors Detected",
                 "two forms of zero"},
        // Byte 1 is sent as 1; byte 0 arrives as 255 instead of 0: +255 folds away.
        HandCase{"internet_cancels_by_255",
                 "Internet",
                 {Click(15), Click(48), Click(49), Click(50), Click(51), Click(52), Click(53),
                  Click(54), Click(55)},
                 "Undetected Errors",
                 "add up to +255, a multiple of 255"},
        // The generator's pattern 100000111 flipped at data bits 10 to 18.
        HandCase{"crc_shifted_generator",
                 "CRC-8",
                 {Click(58), Click(64), Click(65), Click(66)},
                 "Undetected Errors",
                 "E(x) = x^45 + x^39 + x^38 + x^37 is a multiple of the generator"},
        HandCase{"crc_short_burst",
                 "CRC-8",
                 {Click(60), Click(62)},
                 "Errors Detected",
                 "these errors span 3 bits"},
        HandCase{"none_cannot_tell",
                 "None",
                 {Click(60)},
                 "Undetected Errors",
                 "cannot tell that 1 data bit was flipped"}),
    [](const testing::TestParamInfo<HandCase>& row) { return std::string(row.param.name); });

TEST(Companion, SaysASearchCannotEndWhereNothingSlipsThrough) {
    Form form;
    test::StartIn(form, "CRC-8");
    form.cmbErrorRate.SetText("0");
    EXPECT_EQ(ExactUndetectedProbability(form), 0.0);
    EXPECT_NE(CompanionHtml(form).find("cannot end"), std::string::npos);
    form.cmbErrorRate.SetText("1");
    EXPECT_GT(ExactUndetectedProbability(form), 1e-5);
    EXPECT_EQ(CompanionHtml(form).find("cannot end"), std::string::npos);
}

TEST(Companion, EscapesWhatTheRecordsHold) {
    Form form;
    test::StartIn(form, "None");
    form.lblResult.text = "<b>&";
    const std::string html = CompanionHtml(form);
    EXPECT_EQ(html.find("<b>&"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;&amp;"), std::string::npos);
}

} // namespace
} // namespace bitwatch

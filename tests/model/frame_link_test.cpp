// Links to a frame: every state random users reach comes back exactly from its link and goes on
// exactly as the sender's; and no altered, cut or hand-made link gives a state the window could
// not reach.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actions.h"
#include "ui/frame_link.h"
#include "ui/records_json.h"

namespace bitwatch::model {
namespace {

std::string StartRecords() {
    Form form;
    Startup(form);
    return RecordsJson(form);
}

TEST(FrameLink, RandomUsersStatesComeBackAndGoOnAsTheSendersDo) {
    constexpr int kSeeds = 12;
    constexpr int kActions = 1500;
    constexpr int kFurther = 12;
    int opened = 0;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        std::mt19937_64 random(static_cast<std::uint64_t>(seed));
        Form sender;
        Startup(sender);
        for (int step = 0; step < kActions; ++step) {
            RunEvent(sender, RandomEvent(random));
            const auto link = FrameLink(sender);
            if (!link) {
                continue; // a box holds more text than a link carries
            }
            Form receiver;
            Startup(receiver);
            ASSERT_TRUE(OpenFrameLink(receiver, *link)) << "seed " << seed << " step " << step;
            ASSERT_EQ(RecordsJson(receiver), RecordsJson(sender))
                << "seed " << seed << " step " << step;
            ++opened;
            if (step % 100 != 0) {
                continue;
            }
            // The same further events on both, "One" first: the generator's next frames too.
            RunEvent(sender, {EventKind::PressOne, 0, ""});
            RunEvent(receiver, {EventKind::PressOne, 0, ""});
            std::mt19937_64 further(static_cast<std::uint64_t>(step));
            for (int i = 0; i < kFurther; ++i) {
                const Event event = RandomEvent(further);
                RunEvent(sender, event);
                RunEvent(receiver, event);
                ASSERT_EQ(RecordsJson(receiver), RecordsJson(sender))
                    << "seed " << seed << " step " << step << " then " << DescribeEvent(event);
            }
        }
    }
    // Most states fit in a link: the boxes' texts are short but for the long pastes.
    EXPECT_GT(opened, kSeeds * kActions / 2);
}

// The link's bytes, decoded and encoded here on their own, so that a test can forge a link with
// a correct CRC-32 around any content.
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::vector<std::uint8_t> Unpack(const std::string& link) {
    std::vector<std::uint8_t> bytes;
    unsigned buffer = 0;
    int held = 0;
    for (const char c : link) {
        buffer = (buffer << 6U) | static_cast<unsigned>(kAlphabet.find(c));
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(static_cast<std::uint8_t>(buffer >> static_cast<unsigned>(held)));
        }
    }
    bytes.resize(bytes.size() - 4); // the CRC-32
    return bytes;
}

std::string Pack(std::vector<std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1U) != 0 ? (crc >> 1U) ^ 0xEDB88320U : crc >> 1U;
        }
    }
    crc = ~crc;
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(crc >> (8U * static_cast<unsigned>(i))));
    }
    std::string link;
    unsigned buffer = 0;
    int held = 0;
    for (const std::uint8_t byte : bytes) {
        buffer = (buffer << 8U) | byte;
        held += 8;
        while (held >= 6) {
            held -= 6;
            link += kAlphabet[(buffer >> static_cast<unsigned>(held)) & 63U];
        }
    }
    if (held > 0) {
        link += kAlphabet[(buffer << static_cast<unsigned>(6 - held)) & 63U];
    }
    return link;
}

// Offsets in the link of a form whose boxes read "CRC-8" and "1".
enum Offset : std::size_t {
    kVersion = 0,
    kModeRow = 1,
    kModeText = 3,
    kReceivedParity = 22,
    kVerdict = 29,
    kFrames = 30,
    kUndetected = 31,
    kRun = 32,
};

// A byte of the link changed by XOR with a mask, so that it surely changes.
struct Forgery {
    const char* name;
    std::size_t offset;
    std::uint8_t mask;
    bool fromEnd = false; // offset 1 is the last byte before the CRC-32
};

// Each a well-formed link with a correct CRC-32 whose state no events can reach, made from the
// link of a fast run in mode CRC-8 that has counted one frame.
class ForgedLinks : public testing::TestWithParam<Forgery> {};

TEST_P(ForgedLinks, AreRefusedAndLeaveTheStartState) {
    Form sender;
    Startup(sender);
    sender.cmbMode.SetText("CRC-8");
    RunEvent(sender, {EventKind::PressRun, 0, ""});
    RunEvent(sender, {EventKind::PressRun, 0, ""});
    ASSERT_EQ(sender.frameCount, 1);
    ASSERT_EQ(sender.undetectedCount, 0);
    const auto link = FrameLink(sender);
    ASSERT_TRUE(link);
    std::vector<std::uint8_t> bytes = Unpack(*link);
    ASSERT_EQ(bytes[kModeText - 1], 5);
    {
        Form untouched;
        Startup(untouched);
        ASSERT_TRUE(OpenFrameLink(untouched, Pack(bytes))) << "the unforged link opens";
    }
    const Forgery& forgery = GetParam();
    bytes[forgery.fromEnd ? bytes.size() - forgery.offset : forgery.offset] ^= forgery.mask;
    Form receiver;
    Startup(receiver);
    EXPECT_FALSE(OpenFrameLink(receiver, Pack(bytes)));
    EXPECT_EQ(RecordsJson(receiver), StartRecords());
}

INSTANTIATE_TEST_SUITE_P(
    FrameLink, ForgedLinks,
    testing::Values(Forgery{"another_version", kVersion, 3},
                    Forgery{"a_mode_beyond_the_table", kModeRow, 7},        // 11 -> 12
                    Forgery{"parity_8_beside_the_text_crc8", kModeRow, 13}, // 11 -> 6
                    Forgery{"a_hidden_parity_cell_damaged", kReceivedParity, 1},
                    Forgery{"a_verdict_beyond_the_four", kVerdict, 4},
                    Forgery{"another_verdict_beside_a_sent_frame", kVerdict, 1},
                    Forgery{"more_undetected_than_frames", kUndetected, 2},
                    Forgery{"a_run_state_beyond_the_five", kRun, 7},                // 2 -> 5
                    Forgery{"a_found_search_without_an_undetected_frame", kRun, 6}, // 2 -> 4
                    Forgery{"more_frames_than_the_draws_allow", kFrames, 100},
                    Forgery{"an_ill_formed_mode_text", kModeText + 1, 0xFF},
                    Forgery{"an_error_model_beyond_the_three", 2, 3, true}, // 0 -> 3
                    Forgery{"a_burst_of_no_bits", 1, 2, true},              // 2 -> 0
                    Forgery{"more_bits_than_any_frame", 1, 99, true}),      // 2 -> 97
    [](const testing::TestParamInfo<Forgery>& row) { return std::string(row.param.name); });

TEST(FrameLink, CutAlteredAndOversizedLinksAreRefused) {
    Form sender;
    Startup(sender);
    sender.cmbMode.SetText("Internet");
    RunEvent(sender, {EventKind::PressOne, 0, ""});
    RunEvent(sender, {EventKind::ClickData, 60, ""});
    const std::string link = *FrameLink(sender);
    const std::string start = StartRecords();
    std::mt19937_64 random(7);
    int refused = 0;
    for (int trial = 0; trial < 1000; ++trial) {
        std::string altered = link;
        switch (trial % 4) {
        case 0: // cut anywhere
            altered.resize(random() % link.size());
            break;
        case 1: { // one bit of one character's value changed, or a character outside the alphabet
            const std::size_t at = random() % link.size();
            const std::size_t value =
                kAlphabet.find(altered[at]) ^ (std::size_t{1} << (random() % 6));
            altered[at] = trial % 8 == 1 ? kAlphabet[value] : static_cast<char>(random() % 256);
            break;
        }
        case 2: // characters appended
            altered += std::string(1 + random() % 3000, kAlphabet[random() % 64]);
            break;
        default: // two characters swapped
            std::swap(altered[random() % link.size()], altered[random() % link.size()]);
            break;
        }
        if (altered == link) {
            continue;
        }
        Form receiver;
        Startup(receiver);
        ASSERT_FALSE(OpenFrameLink(receiver, altered)) << altered;
        ASSERT_EQ(RecordsJson(receiver), start);
        ++refused;
    }
    EXPECT_GT(refused, 900);
    // A box full of text makes no link rather than a cut one.
    sender.cmbErrorRate.SetText(std::string(2000, '7'));
    EXPECT_FALSE(FrameLink(sender));
}

} // namespace
} // namespace bitwatch::model

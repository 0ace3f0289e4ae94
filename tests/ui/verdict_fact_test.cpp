// The fact after the verdict is true of the frame on screen: every fact the companion can print,
// checked against random damage in every mode and model by conditions read here from the cells
// alone; with nothing damaged, the model's fact agrees with the model's exact odds.

#include "ui/verdict_fact.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "stats/exact_models.h"
#include "tests/test_support.h"
#include "ui/companion.h"
#include "ui/events.h"

namespace bitwatch {
namespace {

// A received cell as a click reaches it, in the order the frame is sent.
struct SentCell {
    EventKind kind;
    int index;
};

std::vector<SentCell> SentOrder(const Form& form) {
    const bool groups = UsesParityGroups(form.groupSize);
    std::vector<SentCell> cells;
    for (int k = 0; k < kDataBits; ++k) {
        cells.push_back({EventKind::ClickData, kDataBits + k});
        if (groups && (k + 1) % form.groupSize == 0) {
            cells.push_back({EventKind::ClickParity, kDataBits + k});
        }
    }
    if (!groups && UsesCheckByte(form.codeMode)) {
        for (int j = 0; j < kCheckBits; ++j) {
            cells.push_back({EventKind::ClickCheck, j});
        }
    }
    return cells;
}

bool Damaged(const Form& form, const SentCell& cell) {
    switch (cell.kind) {
    case EventKind::ClickData:
        return form.row1[cell.index].text != form.row1[cell.index - kDataBits].text;
    case EventKind::ClickParity:
        return form.parity[cell.index].text != form.parity[cell.index - kDataBits].text;
    default:
        return form.sum2[cell.index].text != form.sum1[cell.index].text;
    }
}

// The damage as the test reads it from the cells.
struct Seen {
    std::vector<int> places;     // damaged places in the order sent
    std::array<int, 8> up{};     // data flips 0 to 1 by column
    std::array<int, 8> down{};   // data flips 1 to 0 by column
    std::vector<int> groupFlips; // damaged cells of each parity group, its bit included
    bool caught = false;         // the check engine's verdict
    bool undetected = false;

    int count() const { return static_cast<int>(places.size()); }
    int span() const { return places.empty() ? 0 : places.back() - places.front() + 1; }
};

Seen Read(const Form& form) {
    Seen seen;
    const std::vector<SentCell> cells = SentOrder(form);
    for (std::size_t place = 0; place < cells.size(); ++place) {
        const SentCell& cell = cells[place];
        if (!Damaged(form, cell)) {
            continue;
        }
        seen.places.push_back(static_cast<int>(place));
        if (cell.kind == EventKind::ClickData) {
            const auto column = static_cast<std::size_t>(cell.index % 8);
            ++(form.row1[cell.index].text == "1" ? seen.up : seen.down)[column];
        }
        if (UsesParityGroups(form.groupSize) && cell.kind != EventKind::ClickCheck) {
            const auto group = static_cast<std::size_t>((cell.index - kDataBits) / form.groupSize);
            seen.groupFlips.resize(kDataBits / static_cast<std::size_t>(form.groupSize));
            ++seen.groupFlips[group];
        }
    }
    seen.caught =
        form.lblResult.text == kVerdictDetected || form.lblResult.text == kVerdictFalsePositive;
    seen.undetected = form.lblResult.text == kVerdictUndetected;
    return seen;
}

bool AnyColumn(const Seen& seen, const auto& holds) {
    for (std::size_t c = 0; c < 8; ++c) {
        if (holds(seen.up[c], seen.down[c])) {
            return true;
        }
    }
    return false;
}

// What must be true of the frame for the fact to be printed beside it.
bool TrueOfFrame(const Form& form, const ChosenFact& chosen, const Seen& s) {
    const auto evenPair = [](int flips) {
        return flips >= 2 && flips % 2 == 0;
    };
    switch (chosen.fact) {
    case VerdictFact::NothingChecked:
        return form.codeMode == ModeNone && s.undetected;
    case VerdictFact::OddFlipsCaught:
        return s.count() % 2 == 1 && s.caught;
    case VerdictFact::PairInGroup:
    case VerdictFact::PairInGroupBurst:
        return std::any_of(s.groupFlips.begin(), s.groupFlips.end(), evenPair);
    case VerdictFact::SingleFlipCaught:
        return s.count() == 1 && s.caught;
    case VerdictFact::ShortBurstColumns:
    case VerdictFact::ShortBurstSum:
    case VerdictFact::CrcShortBurst:
        return s.span() <= 8 && s.caught;
    case VerdictFact::LongBurst:
    case VerdictFact::CrcLongBurst:
        return s.span() > 8;
    case VerdictFact::ColumnPair:
        return AnyColumn(s, [&](int up, int down) { return evenPair(up + down); });
    case VerdictFact::OnesComplementBurst:
        return s.count() == 8 && s.span() == 8 &&
               (std::count(s.up.begin(), s.up.end(), 1) == 8 ||
                std::count(s.down.begin(), s.down.end(), 1) == 8);
    case VerdictFact::OppositePair:
        return AnyColumn(s, [](int up, int down) { return up > 0 && down > 0; });
    case VerdictFact::TopColumnPair:
        return form.codeMode == ModeChecksum && (s.up[0] >= 2 || s.down[0] >= 2);
    case VerdictFact::TopColumnPairCaught:
        return form.codeMode == ModeInternet && s.count() == 2 &&
               (s.up[0] == 2 || s.down[0] == 2) && s.caught;
    case VerdictFact::CrcFewBits:
        return s.count() <= 3 && s.caught;
    case VerdictFact::CrcOddBits:
        return s.count() % 2 == 1 && s.caught;
    case VerdictFact::CrcEvenBits:
        return chosen.bits == s.count() && s.count() >= 4 && s.count() % 2 == 0;
    default:
        return false; // the general facts of a model belong to frames with nothing damaged
    }
}

// Flips the places of one error of the model's kind, drawn as the model draws it.
void Damage(Form& form, std::mt19937_64& random, bool burst, int size) {
    const std::vector<SentCell> cells = SentOrder(form);
    const int n = static_cast<int>(cells.size());
    std::vector<int> places;
    if (burst) {
        const int start = static_cast<int>(random() % static_cast<unsigned>(n - size + 1));
        for (int i = 0; i < size; ++i) {
            if (i == 0 || i == size - 1 || random() % 2 == 0) {
                places.push_back(start + i);
            }
        }
    } else {
        std::vector<int> all(static_cast<std::size_t>(n));
        std::iota(all.begin(), all.end(), 0);
        std::shuffle(all.begin(), all.end(), random);
        places.assign(all.begin(), all.begin() + size);
    }
    for (const int place : places) {
        const SentCell& cell = cells[static_cast<std::size_t>(place)];
        RunEvent(form, {cell.kind, static_cast<std::int16_t>(cell.index), {}});
    }
}

FrameBytes SomeBytes(std::mt19937_64& random) {
    FrameBytes bytes{};
    const auto pick = random() % 4; // frames of zeros and of ones turn every flip the same way
    for (std::uint8_t& byte : bytes) {
        byte = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<std::uint8_t>(random());
    }
    return bytes;
}

TEST(VerdictFact, EveryFactIsTrueOfTheFrameItIsPrintedBeside) {
    std::mt19937_64 random(38);
    std::set<VerdictFact> printed;
    for (const std::string& mode : test::AllModeTexts()) {
        Form form;
        test::StartIn(form, mode);
        const int n = SentLength(form);
        for (int frame = 0; frame < 3000; ++frame) {
            const bool burst = random() % 2 == 0;
            const int size =
                1 + static_cast<int>(random() % static_cast<unsigned>(frame % 5 == 0 ? n : 12));
            test::Transmit(form, SomeBytes(random));
            form.errorModel = {burst ? ErrorModelKind::Burst : ErrorModelKind::ExactBits,
                               static_cast<std::int16_t>(size)};
            Damage(form, random, burst, size);
            CheckFrame(form, SideReceived);
            const Explanation e = Explain(form);
            // The model's odds decide only where nothing is damaged.
            const ChosenFact chosen = ChooseFact(form, e, 0.5);
            if (chosen.fact == VerdictFact::None) {
                continue;
            }
            printed.insert(chosen.fact);
            ASSERT_TRUE(TrueOfFrame(form, chosen, Read(form)))
                << mode << ", frame " << frame << ": " << FactText(chosen) << "\n"
                << CompanionHtml(form);
        }
    }
    // With nothing damaged, each model's fact agrees with its exact odds, and the two ways of
    // the sums' pairs are said too.
    for (const std::string& mode : test::AllModeTexts()) {
        Form form;
        test::StartIn(form, mode);
        const stats::CodeShape shape{form.codeMode, form.groupSize};
        const int n = SentLength(form);
        for (const bool burst : {false, true}) {
            const std::vector<double> shares =
                burst ? stats::BurstShares(shape, n) : stats::ErrorShares(shape, n);
            for (int size = 1; size <= n; ++size) {
                form.errorModel = {burst ? ErrorModelKind::Burst : ErrorModelKind::ExactBits,
                                   static_cast<std::int16_t>(size)};
                const ChosenFact chosen =
                    ChooseFact(form, Explain(form), shares[static_cast<std::size_t>(size)]);
                if (chosen.fact == VerdictFact::None) {
                    continue;
                }
                printed.insert(chosen.fact);
                EXPECT_EQ(FactSaysAllCaught(chosen.fact),
                          shares[static_cast<std::size_t>(size)] == 0)
                    << mode << (burst ? ", burst of " : ", bits ") << size << ": "
                    << FactText(chosen);
            }
        }
    }
    EXPECT_EQ(printed.size(), static_cast<std::size_t>(kVerdictFactCount - 1))
        << "some fact was never printed";
}

TEST(VerdictFact, NoFactBesideTheRandomChannel) {
    Form form;
    test::StartIn(form, "Checksum");
    RunEvent(form, {EventKind::ClickData, kDataBits, {}});
    EXPECT_EQ(ChooseFact(form, Explain(form), ExactUndetectedProbability(form)).fact,
              VerdictFact::None);
}

struct FactCase {
    const char* name;
    const char* mode;
    FrameBytes sent;
    std::vector<int> dataBits;
    VerdictFact fact;
};

void PrintTo(const FactCase& c, std::ostream* out) {
    *out << c.name;
}

class HandMadeFact : public testing::TestWithParam<FactCase> {};

TEST_P(HandMadeFact, IsChosenByTheDamage) {
    const FactCase& c = GetParam();
    Form form;
    test::StartIn(form, c.mode);
    form.errorModel = {ErrorModelKind::ExactBits, 2};
    test::Transmit(form, c.sent);
    for (const int k : c.dataBits) {
        RunEvent(form, {EventKind::ClickData, static_cast<std::int16_t>(kDataBits + k), {}});
    }
    EXPECT_EQ(ChooseFact(form, Explain(form), ExactUndetectedProbability(form)).fact, c.fact);
    const std::string html = CompanionHtml(form);
    EXPECT_NE(html.find(FactText({c.fact})), std::string::npos) << html;
    if (c.fact != VerdictFact::OppositePair) {
        EXPECT_EQ(html.find("a 0 becomes 1 and a 1 becomes 0"), std::string::npos) << html;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, HandMadeFact,
    testing::Values(
        // +128 in byte 0 and +128 in byte 5: 256 leaves the byte.
        FactCase{
            "checksum_top_column_same_way", "Checksum", {}, {0, 40}, VerdictFact::TopColumnPair},
        FactCase{"internet_top_column_same_way",
                 "Internet",
                 {},
                 {0, 40},
                 VerdictFact::TopColumnPairCaught},
        // -16 in byte 0 and +16 in byte 1.
        FactCase{"checksum_opposite_in_column_3",
                 "Checksum",
                 {0x10},
                 {3, 11},
                 VerdictFact::OppositePair},
        FactCase{"checksum_one_flip_each_column", "Checksum", {}, {1, 10}, VerdictFact::None},
        FactCase{
            "crc_five_bits", "CRC-8", {0x5A, 0x5A}, {1, 9, 17, 30, 41}, VerdictFact::CrcOddBits}),
    [](const testing::TestParamInfo<FactCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace bitwatch

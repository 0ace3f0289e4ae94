// Each code's unit against the frame it serves: its running check ends in its check byte, its
// check cells say what its check byte says, the frame sends as many bits as it shows, and its
// working has the shape of its family.

#include "core/codes/code_unit.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/explain.h"
#include "tests/test_support.h"
#include "ui/events.h"

namespace bitwatch {
namespace {

struct UnitCase {
    const char* name;
    const char* mode;
    std::size_t working; // the index of its shape in Working
};

void PrintTo(const UnitCase& c, std::ostream* out) {
    *out << c.name;
}

class CodeUnits : public testing::TestWithParam<UnitCase> {
  protected:
    void SetUp() override { test::StartIn(form, GetParam().mode); }
    const CodeUnit& unit() const { return UnitOf(form.codeMode, form.groupSize); }

    Form form;
    std::mt19937_64 random{7};
};

// A code without a check byte keeps no running check: its state stays 0.
TEST_P(CodeUnits, RunningCheckEndsInTheCheckByte) {
    const bool checkByte = UsesCheckByte(form.codeMode) && !UsesParityGroups(form.groupSize);
    for (int frame = 0; frame < 500; ++frame) {
        FrameBytes bytes{};
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        std::uint8_t state = 0;
        for (int k = 0; k < kDataBits; ++k) {
            state = unit().runningStep(state, k, DataBit(bytes, k));
        }
        if (!checkByte) {
            ASSERT_EQ(state, 0);
            continue;
        }
        ASSERT_EQ(unit().finishCheck(state), unit().checkByteOf(bytes)) << "frame " << frame;
        ASSERT_EQ(CheckByteFor(form.codeMode, bytes), unit().checkByteOf(bytes));
    }
}

TEST_P(CodeUnits, CheckCellsSayWhatTheCheckSays) {
    for (int frame = 0; frame < 200; ++frame) {
        FrameBytes bytes{};
        for (std::uint8_t& byte : bytes) {
            byte = static_cast<std::uint8_t>(random());
        }
        test::Transmit(form, bytes);
        EXPECT_FALSE(unit().checkCells(form, SideReceived, bytes)) << "an intact frame fails";
        // A received check cell of the code flipped: only a code without check bits misses it.
        const std::vector<std::pair<EventKind, int>> checkCells = [&] {
            std::vector<std::pair<EventKind, int>> cells;
            for (int i = kDataBits; i < kCellsPerArray; ++i) {
                if (form.parity[i].shown) {
                    cells.emplace_back(EventKind::ClickParity, i);
                }
            }
            for (int j = 0; j < kCheckBits; ++j) {
                if (form.sum2[j].shown) {
                    cells.emplace_back(EventKind::ClickCheck, j);
                }
            }
            return cells;
        }();
        if (checkCells.empty()) {
            continue;
        }
        const auto [kind, index] = checkCells[random() % checkCells.size()];
        RunEvent(form, {kind, static_cast<std::int16_t>(index), {}});
        EXPECT_TRUE(unit().checkCells(form, SideReceived, ReadFrameBytes(form, SideReceived)));
        EXPECT_EQ(form.lblResult.text, kVerdictFalsePositive);
    }
}

TEST_P(CodeUnits, SendsTheBitsTheFrameShows) {
    int shown = kDataBits;
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        shown += form.parity[i].shown ? 1 : 0;
    }
    for (const TextLabel& cell : form.sum2) {
        shown += cell.shown ? 1 : 0;
    }
    EXPECT_EQ(SentBits(form.codeMode, form.groupSize), shown);
    EXPECT_EQ(Explain(form).frameLength, shown);
}

TEST_P(CodeUnits, WorksTheFrameInItsFamilysShape) {
    RunEvent(form, {EventKind::ClickData, kDataBits + 3, {}});
    const Explanation e = Explain(form);
    EXPECT_EQ(e.working.index(), GetParam().working);
    EXPECT_EQ(e.verdict, form.lblResult.text);
}

INSTANTIATE_TEST_SUITE_P(
    Families, CodeUnits,
    testing::Values(UnitCase{"none", "None", 0}, UnitCase{"parity_groups_of_1", "Parity 1", 1},
                    UnitCase{"parity_groups_of_8", "Parity 8", 1},
                    UnitCase{"column_parity", "Parity 6V", 2}, UnitCase{"checksum", "Checksum", 3},
                    UnitCase{"internet", "Internet", 3}, UnitCase{"crc8", "CRC-8", 4}),
    [](const testing::TestParamInfo<UnitCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace bitwatch

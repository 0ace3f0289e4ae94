#include "channel/send_frame.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace bitwatch {
namespace {

using test::StartIn;
using test::Texts;

bool HasCheckByte(const Form& form) {
    return form.codeMode >= ModeVerticalParity;
}

TEST(SendFrame, AtRateZeroEverythingArrivesIntact) {
    for (const std::string& modeText : test::AllModeTexts()) {
        Form form;
        StartIn(form, modeText);
        form.cmbErrorRate.SetText("0");
        for (int frame = 0; frame < 20; ++frame) {
            const std::uint64_t before = form.random.drawCount();
            SendFrame(form);
            EXPECT_EQ(form.random.drawCount() - before, HasCheckByte(form) ? 152U : 144U)
                << modeText;
            for (int i = kDataBits; i < kCellsPerArray; ++i) {
                EXPECT_EQ(form.row1[i].text, form.row1[i - kDataBits].text) << modeText;
                EXPECT_EQ(form.parity[i].text, form.parity[i - kDataBits].text) << modeText;
                EXPECT_EQ(form.row1[i].foreColour, ColourRxData) << modeText;
                EXPECT_EQ(form.parity[i].foreColour, ColourRxCheck) << modeText;
                EXPECT_EQ(form.row1[i - kDataBits].foreColour, ColourTxData) << modeText;
            }
            EXPECT_EQ(Texts(form.sum2), Texts(form.sum1)) << modeText;
            for (const TextLabel& cell : form.sum2) {
                EXPECT_EQ(cell.foreColour, ColourRxCheck) << modeText;
            }
            EXPECT_EQ(form.lblResult.text, "No Errors") << modeText;
        }
    }
}

TEST(SendFrame, AtRateHundredEveryExposedBitFlips) {
    for (const char* rate : {"100", "250", "1e999"}) {
        for (const std::string& modeText : test::AllModeTexts()) {
            Form form;
            StartIn(form, modeText);
            form.cmbErrorRate.SetText(rate);
            SendFrame(form);
            for (int i = kDataBits; i < kCellsPerArray; ++i) {
                EXPECT_NE(form.row1[i].text, form.row1[i - kDataBits].text) << modeText;
                EXPECT_EQ(form.row1[i].foreColour, ColourMismatch) << modeText;
                const bool shown = form.parity[i].shown;
                EXPECT_EQ(form.parity[i].text != form.parity[i - kDataBits].text, shown)
                    << modeText << " parity " << i;
                EXPECT_EQ(form.parity[i].foreColour, shown ? ColourMismatch : ColourRxCheck)
                    << modeText << " parity " << i;
            }
            for (int k = 0; k < kCheckBits; ++k) {
                EXPECT_EQ(form.sum2[k].text != form.sum1[k].text, HasCheckByte(form))
                    << modeText << " check " << k;
                EXPECT_EQ(form.sum2[k].foreColour,
                          HasCheckByte(form) ? ColourMismatch : ColourRxCheck)
                    << modeText;
            }
        }
    }
}

TEST(SendFrame, RatesThatAreNotPositiveNumbersFlipNothing) {
    for (const char* rate : {"-5", "abc", "", "-1e999", "nan"}) {
        Form form;
        StartIn(form, "CRC-8");
        form.cmbErrorRate.SetText(rate);
        SendFrame(form);
        EXPECT_EQ(form.lblResult.text, "No Errors") << rate;
        EXPECT_EQ(Texts(form.row1).substr(0, 48), Texts(form.row1).substr(48)) << rate;
    }
}

TEST(SendFrame, DrawsInTheOrderDataThenFlipsThenCheckByte) {
    Form form;
    StartIn(form, "CRC-8");
    form.cmbErrorRate.SetText("50");
    std::vector<float> script;
    script.reserve(152);
    // Data: bit i is 1 exactly for odd i; a draw of exactly 0.5 gives "0".
    for (int i = 0; i < kDataBits; ++i) {
        script.push_back(i % 2 != 0 ? 0.75F : 0.5F);
    }
    // Flips of received data: only bit 48 + 3 (p = 0.5 > 0.25).
    for (int i = 0; i < kDataBits; ++i) {
        script.push_back(i == 3 ? 0.25F : 0.5F);
    }
    // Parity draws are taken although no parity cell is shown.
    for (int i = 0; i < kDataBits; ++i) {
        script.push_back(0.0F);
    }
    // Check byte: only cell 6.
    for (int k = 0; k < kCheckBits; ++k) {
        script.push_back(k == 6 ? 0.1F : 0.9F);
    }
    form.random.Script(script);
    SendFrame(form);
    EXPECT_EQ(form.random.drawCount(), 152U);
    EXPECT_EQ(Texts(form.row1).substr(0, 8), "01010101");
    EXPECT_EQ(Texts(form.row1).substr(48, 8), "01000101");
    EXPECT_EQ(form.row1[51].foreColour, ColourMismatch);
    EXPECT_EQ(form.sum2[6].foreColour, ColourMismatch);
    EXPECT_NE(form.sum2[6].text, form.sum1[6].text);
    EXPECT_EQ(form.sum2[5].text, form.sum1[5].text);
    EXPECT_EQ(Texts(form.parity).substr(48), Texts(form.parity).substr(0, 48));
    EXPECT_EQ(form.lblResult.text, "Errors Detected");
}

TEST(SendFrame, InvertingEveryBitSlipsPastTheOnesComplementChecksum) {
    // Complementing every byte negates the one's-complement sum, so the complemented check byte
    // is the check byte of the complemented data (unless the sum is one of the two zeros);
    // the plain sum modulo 256 always notices.
    int undetectedInternet = 0;
    int undetectedChecksum = 0;
    for (const char* modeText : {"Internet", "Checksum"}) {
        Form form;
        StartIn(form, modeText);
        form.cmbErrorRate.SetText("100");
        for (int frame = 0; frame < 200; ++frame) {
            SendFrame(form);
            const bool undetected = form.lblResult.text == "Undetected Errors";
            (std::string(modeText) == "Internet" ? undetectedInternet : undetectedChecksum) +=
                undetected ? 1 : 0;
        }
    }
    EXPECT_GE(undetectedInternet, 190);
    EXPECT_EQ(undetectedChecksum, 0);
}

TEST(SendFrame, ParityModeExposesOnlyTheShownParityCells) {
    Form form;
    StartIn(form, "Parity 8");
    form.cmbErrorRate.SetText("100");
    SendFrame(form);
    EXPECT_EQ(form.random.drawCount(), 144U);
    for (int i = kDataBits; i < kCellsPerArray; ++i) {
        EXPECT_EQ(form.parity[i].text != form.parity[i - kDataBits].text, (i + 1) % 8 == 0) << i;
    }
}

TEST(SendFrame, TwoFreshStartsSendTheSameFrames) {
    Form first;
    Form second;
    StartIn(first, "Checksum");
    StartIn(second, "Checksum");
    first.cmbErrorRate.SetText("3");
    second.cmbErrorRate.SetText("3");
    for (int frame = 0; frame < 200; ++frame) {
        SendFrame(first);
        SendFrame(second);
        ASSERT_EQ(Texts(first.row1), Texts(second.row1)) << "frame " << frame;
        ASSERT_EQ(Texts(first.sum2), Texts(second.sum2)) << "frame " << frame;
        ASSERT_EQ(first.lblResult.text, second.lblResult.text) << "frame " << frame;
    }
}

TEST(RandomSource, DrawsStayBelowOneAndLookUniform) {
    RandomSource random;
    int above = 0;
    constexpr int kDraws = 200000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = random.Draw();
        ASSERT_GE(r, 0.0F);
        ASSERT_LT(r, 1.0F);
        above += r > 0.5F ? 1 : 0;
    }
    EXPECT_NEAR(above, kDraws / 2.0, 1500);
}

TEST(ToggleBits, ClickingAReceivedCellTwiceRestoresIt) {
    Form form;
    StartIn(form, "CRC-8");
    form.cmbErrorRate.SetText("0");
    SendFrame(form);
    struct Target {
        const char* name;
        TextLabel& cell;
        void (*toggle)(Form&, std::int16_t);
        std::int16_t index;
        Colour matchColour;
    };
    const std::vector<Target> targets = {
        {"data", form.row1[60], ToggleDataBit, 60, ColourRxData},
        {"parity", form.parity[60], ToggleParityBit, 60, ColourRxCheck},
        {"check", form.sum2[2], ToggleCheckBit, 2, ColourRxCheck},
    };
    for (const Target& target : targets) {
        const std::string text = target.cell.text;
        target.toggle(form, target.index);
        EXPECT_NE(target.cell.text, text) << target.name;
        EXPECT_EQ(target.cell.foreColour, ColourMismatch) << target.name;
        EXPECT_EQ(form.lblResult.text,
                  std::string(target.name) == "parity" ? "No Errors" // parity is not compared
                  : std::string(target.name) == "data" ? "Errors Detected"
                                                       : "False Positive")
            << target.name;
        target.toggle(form, target.index);
        EXPECT_EQ(target.cell.text, text) << target.name;
        EXPECT_EQ(target.cell.foreColour, target.matchColour) << target.name;
        EXPECT_EQ(form.lblResult.text, "No Errors") << target.name;
    }
}

TEST(ToggleBits, TransmittedDataClickRetransmitsCheckBitsAndKeepsDataErrors) {
    for (const char* modeText : {"Parity 2", "Internet"}) {
        Form form;
        StartIn(form, modeText);
        form.cmbErrorRate.SetText("0");
        SendFrame(form);
        ToggleDataBit(form, 90);   // an error on another received data cell
        ToggleParityBit(form, 49); // an error on a received parity cell
        ToggleCheckBit(form, 0);   // an error on a received check cell
        const std::string tx = form.row1[5].text;
        ToggleDataBit(form, 5);
        EXPECT_NE(form.row1[5].text, tx) << modeText;
        EXPECT_EQ(form.row1[53].text, form.row1[5].text) << modeText;
        EXPECT_EQ(form.row1[53].foreColour, ColourRxData) << modeText;
        EXPECT_EQ(form.row1[5].foreColour, ColourTxData) << modeText;
        EXPECT_NE(form.row1[90].text, form.row1[42].text) << modeText;
        EXPECT_EQ(form.row1[90].foreColour, ColourMismatch) << modeText;
        EXPECT_EQ(Texts(form.parity).substr(48), Texts(form.parity).substr(0, 48)) << modeText;
        EXPECT_EQ(Texts(form.sum2), Texts(form.sum1)) << modeText;
        for (int i = kDataBits; i < kCellsPerArray; ++i) {
            EXPECT_EQ(form.parity[i].foreColour, ColourRxCheck) << modeText;
        }
        for (const TextLabel& cell : form.sum2) {
            EXPECT_EQ(cell.foreColour, ColourRxCheck) << modeText;
        }
        EXPECT_EQ(form.lblResult.text, "Errors Detected") << modeText;
    }
}

TEST(ToggleBits, TransmittedCheckCellsAndOutOfRangeIndexesDoNothing) {
    Form form;
    StartIn(form, "Parity 1");
    form.cmbErrorRate.SetText("0");
    SendFrame(form);
    form.lblResult.text = "kept";
    const std::string parity = Texts(form.parity);
    const std::string data = Texts(form.row1);
    const std::string sums = Texts(form.sum2);
    for (std::int16_t index : std::vector<std::int16_t>{0, 5, 47}) {
        ToggleParityBit(form, index);
    }
    for (std::int16_t index : std::vector<std::int16_t>{-1, 96, 200, -32768, 32767}) {
        ToggleDataBit(form, index);
        ToggleParityBit(form, index);
    }
    for (std::int16_t index : std::vector<std::int16_t>{-1, 8, 48, 32767}) {
        ToggleCheckBit(form, index);
    }
    EXPECT_EQ(Texts(form.parity), parity);
    EXPECT_EQ(Texts(form.row1), data);
    EXPECT_EQ(Texts(form.sum2), sums);
    EXPECT_EQ(form.lblResult.text, "kept");
}

TEST(FlipProbability, RoundsToSinglePrecision) {
    EXPECT_EQ(FlipProbability("1"), 0.01F);
    EXPECT_EQ(FlipProbability("5"), 0.05F);
    EXPECT_EQ(FlipProbability("0"), 0.0F);
    EXPECT_GT(FlipProbability("1e300"), 1.0F);
    EXPECT_LT(FlipProbability("-1e300"), 0.0F);
}

} // namespace
} // namespace bitwatch

#include "core/check_engine.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace bitwatch {
namespace {

using test::Flip;
using test::StartIn;
using test::Texts;
using test::Transmit;

struct SampleFrame {
    const char* name;
    FrameBytes bytes;
    const char* verticalParity;
    const char* checksum;
    const char* internet;
    const char* crc8;
};

const std::vector<SampleFrame> kSamples = {
    {"AllZero",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
     "00000000",
     "00000000",
     "11111111",
     "00000000"},
    {"LastBitSet",
     {0x00, 0x00, 0x00, 0x00, 0x00, 0x01},
     "00000001",
     "00000001",
     "11111110",
     "00000111"},
    {"Counting",
     {0x01, 0x02, 0x03, 0x04, 0x05, 0x06},
     "00000101",
     "00010101",
     "11101010",
     "00101111"},
    {"FirstBitSet",
     {0x80, 0x00, 0x00, 0x00, 0x00, 0x00},
     "11111111",
     "10000000",
     "01111111",
     "11101100"},
    {"FirstByteFull",
     {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00},
     "10101010",
     "11111111",
     "00000000",
     "10101111"},
    {"AllOnes",
     {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
     "00000000",
     "11111010",
     "00000000",
     "01001000"},
};

struct ModeColumn {
    const char* modeText;
    const char* SampleFrame::*expected;
};

const std::vector<ModeColumn> kCheckByteModes = {
    {"Parity 6V", &SampleFrame::verticalParity},
    {"Checksum", &SampleFrame::checksum},
    {"Internet", &SampleFrame::internet},
    {"CRC-8", &SampleFrame::crc8},
};

TEST(CheckFrame, WritesTheCheckByteOfEverySampleInEveryCode) {
    for (const ModeColumn& mode : kCheckByteModes) {
        for (const SampleFrame& sample : kSamples) {
            Form form;
            StartIn(form, mode.modeText);
            test::WriteData(form, SideTransmitted, sample.bytes);
            CheckFrame(form, SideTransmitted);
            EXPECT_EQ(Texts(form.sum1), sample.*mode.expected)
                << mode.modeText << " on " << sample.name;
        }
    }
}

TEST(CheckFrame, CrcOfCellsMatchesTheStandardCheckValue) {
    // The frame holds six bytes; the digits "123456" through the cells must agree with the
    // same CRC over the bytes, whose nine-digit check value is pinned in codes_test.
    Form form;
    StartIn(form, "CRC-8");
    const FrameBytes digits{'1', '2', '3', '4', '5', '6'};
    test::WriteData(form, SideTransmitted, digits);
    CheckFrame(form, SideTransmitted);
    const std::uint8_t expected = Crc8(digits);
    std::string bits;
    for (int j = 0; j < 8; ++j) {
        bits += ((expected >> (7 - j)) & 1U) != 0 ? '1' : '0';
    }
    EXPECT_EQ(Texts(form.sum1), bits);
}

struct GroupSample {
    const char* modeText;
    int groupSize;
    const char* groupEnds;
};

TEST(CheckFrame, ParityGroupsOfTheCountingFrame) {
    const std::vector<GroupSample> samples = {
        {"Parity 6", 6, "01101000"},
        {"Parity 8", 8, "110100"},
        {"Parity 16", 16, "010"},
        {"Parity 48", 48, "1"},
        {"Parity 1", 1, "000000010000001000000011000001000000010100000110"},
    };
    for (const GroupSample& sample : samples) {
        Form form;
        StartIn(form, sample.modeText);
        test::WriteData(form, SideTransmitted, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06});
        CheckFrame(form, SideTransmitted);
        std::string ends;
        for (int i = sample.groupSize - 1; i < kDataBits; i += sample.groupSize) {
            ends += form.parity[i].text;
        }
        EXPECT_EQ(ends, sample.groupEnds) << sample.modeText;
    }
}

TEST(CheckFrame, AllZeroDataGivesZeroInEveryGroupEnd) {
    for (const char* modeText :
         {"Parity 1", "Parity 2", "Parity 4", "Parity 6", "Parity 8", "Parity 16", "Parity 48"}) {
        Form form;
        StartIn(form, modeText);
        for (int i = 0; i < kDataBits; ++i) {
            form.parity[i].text = "1";
        }
        test::WriteData(form, SideTransmitted, {});
        CheckFrame(form, SideTransmitted);
        for (int i = form.groupSize - 1; i < kDataBits; i += form.groupSize) {
            EXPECT_EQ(form.parity[i].text, "0") << modeText << " cell " << i;
        }
    }
}

const FrameBytes kFrame{0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

TEST(Verdict, IntactFrameHasNoErrorsInEveryCode) {
    for (const std::string& modeText : test::AllModeTexts()) {
        Form form;
        StartIn(form, modeText);
        form.lblResult.text = "stale";
        Transmit(form, kFrame);
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "No Errors") << modeText;
    }
}

TEST(Verdict, OneDamagedDataBitIsDetectedExceptWithoutACode) {
    for (const std::string& modeText : test::AllModeTexts()) {
        for (int bit : {0, 13, 47}) {
            Form form;
            StartIn(form, modeText);
            Transmit(form, kFrame);
            Flip(form.row1[kDataBits + bit]);
            CheckFrame(form, SideReceived);
            const std::string expected =
                std::string(modeText) == "None" ? "Undetected Errors" : "Errors Detected";
            EXPECT_EQ(form.lblResult.text, expected) << modeText << " bit " << bit;
        }
    }
}

TEST(Verdict, DamagedCheckCellAloneIsAFalsePositive) {
    for (const char* modeText : {"Parity 1", "Parity 6", "Parity 48"}) {
        Form form;
        StartIn(form, modeText);
        Transmit(form, kFrame);
        Flip(form.parity[kDataBits + 47]);
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "False Positive") << modeText;
    }
    for (const char* modeText : {"Parity 6V", "Checksum", "Internet", "CRC-8"}) {
        for (int j = 0; j < kCheckBits; ++j) {
            Form form;
            StartIn(form, modeText);
            Transmit(form, kFrame);
            Flip(form.sum2[j]);
            CheckFrame(form, SideReceived);
            EXPECT_EQ(form.lblResult.text, "False Positive") << modeText << " cell " << j;
        }
    }
}

TEST(Verdict, CheckCellsAreNotComparedWithoutACode) {
    Form form;
    StartIn(form, "None");
    Transmit(form, kFrame);
    Flip(form.sum2[3]);
    Flip(form.parity[kDataBits + 47]);
    CheckFrame(form, SideReceived);
    EXPECT_EQ(form.lblResult.text, "No Errors");
}

TEST(Verdict, ParityGroupsMissEvenNumbersOfErrorsInOneGroup) {
    {
        Form form;
        StartIn(form, "Parity 8");
        Transmit(form, kFrame);
        Flip(form.row1[kDataBits + 8]);
        Flip(form.row1[kDataBits + 12]);
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "Undetected Errors") << "two bits in one group";
    }
    {
        Form form;
        StartIn(form, "Parity 8");
        Transmit(form, kFrame);
        Flip(form.row1[kDataBits + 8]);
        Flip(form.parity[kDataBits + 15]);
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "Undetected Errors") << "data bit with its parity bit";
    }
    {
        Form form;
        StartIn(form, "Parity 8");
        Transmit(form, kFrame);
        Flip(form.row1[kDataBits + 7]);
        Flip(form.row1[kDataBits + 8]);
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "Errors Detected") << "two bits in neighbouring groups";
    }
}

TEST(Verdict, ChecksumMissesCompensatingBits) {
    // Byte 0 is 0x01 and byte 2 is 0x03: bit position 6 of byte 0 goes 0 -> 1 (+2) while the
    // same position of byte 2 goes 1 -> 0 (-2), so the sum is unchanged.
    Form form;
    StartIn(form, "Checksum");
    Transmit(form, kFrame);
    Flip(form.row1[kDataBits + 0 * 8 + 6]);
    Flip(form.row1[kDataBits + 2 * 8 + 6]);
    CheckFrame(form, SideReceived);
    EXPECT_EQ(form.lblResult.text, "Undetected Errors");
}

TEST(Verdict, VerticalParityErrorRunsFromItsColumnToTheEnd) {
    for (int column = 0; column < 8; ++column) {
        Form form;
        StartIn(form, "Parity 6V");
        Transmit(form, kFrame);
        Flip(form.row1[kDataBits + 3 * 8 + column]);
        for (int c = column; c < 8; ++c) {
            Flip(form.sum2[c]);
        }
        CheckFrame(form, SideReceived);
        EXPECT_EQ(form.lblResult.text, "Undetected Errors") << "column " << column;

        if (column < 7) {
            Form partial;
            StartIn(partial, "Parity 6V");
            Transmit(partial, kFrame);
            Flip(partial.row1[kDataBits + 3 * 8 + column]);
            Flip(partial.sum2[column]);
            CheckFrame(partial, SideReceived);
            EXPECT_EQ(partial.lblResult.text, "Errors Detected") << "column " << column;
        }
    }
}

TEST(CheckFrame, TransmittedSideNeverWritesTheVerdict) {
    Form form;
    StartIn(form, "CRC-8");
    form.lblResult.text = "Errors Detected";
    test::WriteData(form, SideTransmitted, kFrame);
    CheckFrame(form, SideTransmitted);
    EXPECT_EQ(form.lblResult.text, "Errors Detected");
}

TEST(CheckFrame, TouchesOnlyTheCellsOfItsCode) {
    for (const std::string& modeText : test::AllModeTexts()) {
        Form form;
        StartIn(form, modeText);
        // Marks in every cell that might be written by mistake.
        for (int i = 0; i < kCellsPerArray; ++i) {
            form.parity[i].text = "x";
        }
        for (int j = 0; j < kCheckBits; ++j) {
            form.sum1[j].text = "x";
            form.sum2[j].text = "x";
        }
        test::WriteData(form, SideTransmitted, kFrame);
        test::WriteData(form, SideReceived, kFrame);
        const std::string receivedParity = Texts(form.parity).substr(kDataBits);
        CheckFrame(form, SideTransmitted);
        CheckFrame(form, SideReceived);

        for (int i = 0; i < kDataBits; ++i) {
            const bool groupEnd = form.codeMode == ModeParity && (i + 1) % form.groupSize == 0;
            EXPECT_EQ(form.parity[i].text != "x", groupEnd) << modeText << " parity " << i;
        }
        EXPECT_EQ(Texts(form.parity).substr(kDataBits), receivedParity) << modeText;
        const bool checkByte = form.codeMode >= ModeVerticalParity;
        EXPECT_EQ(Texts(form.sum1) != "xxxxxxxx", checkByte) << modeText;
        EXPECT_EQ(Texts(form.sum2), "xxxxxxxx") << modeText;
        EXPECT_EQ(Texts(form.row1).substr(0, kDataBits), Texts(form.row1).substr(kDataBits));
    }
}

TEST(CheckFrame, LeavesColoursShownFlagsAndCountersAlone) {
    Form form;
    StartIn(form, "Internet");
    form.frameCount = 7;
    form.undetectedCount = 3;
    form.sum2[2].foreColour = ColourMismatch;
    Transmit(form, kFrame);
    Flip(form.row1[kDataBits + 5]);
    CheckFrame(form, SideReceived);
    EXPECT_EQ(form.sum2[2].foreColour, ColourMismatch);
    EXPECT_EQ(form.row1[kDataBits + 5].foreColour, ColourRxData);
    EXPECT_TRUE(form.sum2[0].shown);
    EXPECT_EQ(form.frameCount, 7);
    EXPECT_EQ(form.undetectedCount, 3);
}

} // namespace
} // namespace bitwatch

#include "stats/exact.h"

#include <array>
#include <bit>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "core/frame.h"

namespace bitwatch::stats {
namespace {

double PatternMass(int flips, int length, double p) {
    return std::pow(p, flips) * std::pow(1 - p, length - flips);
}

// Brute force over every error pattern of a two-byte frame with a check byte: the data errors
// e_d and check errors e_c slip through exactly when check(e_d) == e_c (the code is linear).
double BruteForceCheckByte(const CodeShape& shape, double p) {
    std::vector<std::uint8_t> checkOf(65536);
    for (unsigned e = 0; e < 65536; ++e) {
        const std::array<std::uint8_t, 2> bytes = {static_cast<std::uint8_t>(e >> 8U),
                                                   static_cast<std::uint8_t>(e)};
        checkOf[e] = CheckByteOf(shape, bytes);
    }
    double undetected = 0;
    for (unsigned dataErrors = 1; dataErrors < 65536; ++dataErrors) {
        for (unsigned checkErrors = 0; checkErrors < 256; ++checkErrors) {
            if (checkOf[dataErrors] == checkErrors) {
                undetected +=
                    PatternMass(std::popcount(dataErrors) + std::popcount(checkErrors), 24, p);
            }
        }
    }
    return undetected;
}

// Brute force over every pattern of errors in 16 data bits and the shown parity cells.
double BruteForceParity(int groupSize, double p) {
    const int groups = 16 / groupSize;
    const int length = 16 + groups;
    double undetected = 0;
    for (std::uint32_t pattern = 0; pattern < (1U << length); ++pattern) {
        const std::uint32_t dataErrors = pattern & 0xFFFFU;
        if (dataErrors == 0) {
            continue;
        }
        bool caught = false;
        for (int g = 0; g < groups; ++g) {
            int flips = (pattern >> (16 + g)) & 1U;
            for (int j = 0; j < groupSize; ++j) {
                flips += (dataErrors >> (g * groupSize + j)) & 1U;
            }
            caught = caught || flips % 2 != 0;
        }
        if (!caught) {
            undetected += PatternMass(std::popcount(pattern), length, p);
        }
    }
    return undetected;
}

// Brute force over every data byte and every error pattern of a one-byte frame, with data bits
// "1" at probability q.
double BruteForceChecksum(const CodeShape& shape, double p, double q) {
    double undetected = 0;
    for (unsigned data = 0; data < 256; ++data) {
        const double dataMass =
            std::pow(q, std::popcount(data)) * std::pow(1 - q, 8 - std::popcount(data));
        const std::array<std::uint8_t, 1> sent = {static_cast<std::uint8_t>(data)};
        const std::uint8_t check = CheckByteOf(shape, sent);
        for (unsigned dataErrors = 1; dataErrors < 256; ++dataErrors) {
            const std::array<std::uint8_t, 1> received = {
                static_cast<std::uint8_t>(data ^ dataErrors)};
            const unsigned checkErrors = check ^ CheckByteOf(shape, received);
            undetected +=
                dataMass *
                PatternMass(std::popcount(dataErrors) + std::popcount(checkErrors), 16, p);
        }
    }
    return undetected;
}

TEST(Exact, CheckByteCodesMatchBruteForceOnTwoByteFrames) {
    for (std::int32_t mode : {ModeVerticalParity, ModeCrc8}) {
        const CodeShape shape{mode, kNoGroups, 2};
        for (double p : {0.001, 0.01, 0.2, 0.5}) {
            const double brute = BruteForceCheckByte(shape, p);
            EXPECT_NEAR(UndetectedProbability(shape, p), brute, 1e-12 + brute * 1e-9)
                << "mode " << mode << " p " << p;
            EXPECT_NEAR(UndetectedByRunningSums(shape, p, 0.3), brute, 1e-12 + brute * 1e-9)
                << "mode " << mode << " p " << p << " (running sums)";
        }
    }
}

TEST(Exact, ParityGroupsMatchBruteForceOnTwoByteFrames) {
    for (std::int16_t groupSize : {std::int16_t{4}, std::int16_t{8}, std::int16_t{16}}) {
        const CodeShape shape{ModeParity, groupSize, 2};
        for (double p : {0.01, 0.1, 0.5}) {
            const double brute = BruteForceParity(groupSize, p);
            EXPECT_NEAR(UndetectedProbability(shape, p), brute, brute * 1e-9)
                << "group " << groupSize << " p " << p;
        }
    }
}

TEST(Exact, ChecksumsMatchBruteForceOnOneByteFrames) {
    for (std::int32_t mode : {ModeChecksum, ModeInternet}) {
        const CodeShape shape{mode, kNoGroups, 1};
        for (double q : {0.5, 0.2}) {
            for (double p : {0.01, 0.3}) {
                const double brute = BruteForceChecksum(shape, p, q);
                EXPECT_NEAR(UndetectedByRunningSums(shape, p, q), brute, brute * 1e-9)
                    << "mode " << mode << " p " << p << " q " << q;
            }
        }
    }
}

TEST(Exact, RunningSumsAgreeWithWeightsOnTheFullFrame) {
    for (std::int32_t mode : {ModeVerticalParity, ModeCrc8}) {
        const CodeShape shape{mode, kNoGroups, 6};
        for (double p : {0.001, 0.05, 0.3}) {
            const double weights = UndetectedFromWeights(WeightDistribution(shape), p);
            EXPECT_NEAR(UndetectedByRunningSums(shape, p, kDataOneProbability), weights,
                        weights * 1e-9)
                << "mode " << mode << " p " << p;
        }
    }
}

TEST(WeightDistribution, KnownShapesOfTheFullFrame) {
    const auto total = [](const std::vector<std::uint64_t>& weights) {
        std::uint64_t sum = 0;
        for (std::uint64_t a : weights) {
            sum += a;
        }
        return sum;
    };
    const std::vector<std::uint64_t> crc = WeightDistribution({ModeCrc8, kNoGroups, 6});
    EXPECT_EQ(total(crc), std::uint64_t{1} << 48);
    EXPECT_EQ(crc[0], 1U);
    // x + 1 divides the generator, so every odd error is caught, and no two errors escape.
    for (std::size_t w = 1; w < crc.size(); w += 2) {
        EXPECT_EQ(crc[w], 0U) << w;
    }
    EXPECT_EQ(crc[2], 0U);
    EXPECT_GT(crc[4], 0U);

    // Two errors escape the running vertical parity when they share a column (8 columns,
    // C(6, 2) pairs of rows), or when a data bit of the last column flips with check bit 7.
    const std::vector<std::uint64_t> vertical =
        WeightDistribution({ModeVerticalParity, kNoGroups, 6});
    EXPECT_EQ(total(vertical), std::uint64_t{1} << 48);
    EXPECT_EQ(vertical[1], 0U);
    EXPECT_EQ(vertical[2], 8U * 15U + 6U);

    const std::vector<std::uint64_t> parity1 = WeightDistribution({ModeParity, 1, 6});
    EXPECT_EQ(total(parity1), std::uint64_t{1} << 48);
    EXPECT_EQ(parity1[2], 48U); // a data bit with its own parity bit
}

TEST(Exact, NoCodeMissesEveryDamagedFrame) {
    const CodeShape none{ModeNone, kNoGroups, 6};
    for (double p : {0.001, 0.01, 0.5}) {
        EXPECT_NEAR(UndetectedProbability(none, p), 1 - std::pow(1 - p, 48), 1e-12) << p;
    }
}

TEST(EffectiveFlipProbability, CountsTheDrawsBelowTheRate) {
    EXPECT_EQ(EffectiveFlipProbability(0.01F), 167773.0 / 16777216.0);
    EXPECT_EQ(EffectiveFlipProbability(0.5F), 0.5);
    EXPECT_EQ(EffectiveFlipProbability(1.0F), 1.0);
    EXPECT_EQ(EffectiveFlipProbability(7.0F), 1.0);
    EXPECT_EQ(EffectiveFlipProbability(0.0F), 0.0);
    EXPECT_EQ(EffectiveFlipProbability(-1.0F), 0.0);
}

} // namespace
} // namespace bitwatch::stats

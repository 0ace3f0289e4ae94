#include "stats/exact_models.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/modes.h"

namespace bitwatch {

// The row's name in failure messages, not its bytes.
void PrintTo(const ModeRow& row, std::ostream* out) {
    *out << row.text;
}

namespace stats {
namespace {

// An independent receiver: the frame as a list of bits in the order sent, damaged at the
// given places, checked the way the window checks it (groups' parity or the check byte
// recomputed from the received data).
class Receiver {
  public:
    explicit Receiver(const CodeShape& shape) : shape_(shape), n_(SentBits(shape)) {}

    int length() const { return n_; }

    bool Missed(std::uint64_t data, const std::vector<int>& places) const {
        const int dataBits = shape_.dataBits();
        std::uint64_t dataErrors = 0;
        std::uint64_t checkErrors = 0; // parity bit g, or check cell j
        for (const int place : places) {
            if (shape_.parityGroups()) {
                const int group = place / (shape_.groupSize + 1);
                const int within = place % (shape_.groupSize + 1);
                if (within == shape_.groupSize) {
                    checkErrors ^= std::uint64_t{1} << group;
                } else {
                    dataErrors ^= std::uint64_t{1} << (group * shape_.groupSize + within);
                }
            } else if (place < dataBits) {
                dataErrors ^= std::uint64_t{1} << place;
            } else {
                checkErrors ^= std::uint64_t{0x80} >> (place - dataBits);
            }
        }
        if (dataErrors == 0) {
            return false;
        }
        const std::uint64_t received = data ^ dataErrors;
        if (shape_.parityGroups()) {
            for (int g = 0; g < shape_.groups(); ++g) {
                const std::uint64_t mask = ((std::uint64_t{1} << shape_.groupSize) - 1)
                                           << (g * shape_.groupSize);
                const bool sentParity = std::popcount(data & mask) % 2 != 0;
                const bool receivedParity = sentParity != (((checkErrors >> g) & 1U) != 0);
                if ((std::popcount(received & mask) % 2 != 0) != receivedParity) {
                    return false;
                }
            }
            return true;
        }
        if (!shape_.checkByte()) {
            return true;
        }
        return (CheckOf(data) ^ checkErrors) == CheckOf(received);
    }

  private:
    // Data bit i is bit i of the word: byte i / 8, most significant first.
    std::uint8_t CheckOf(std::uint64_t word) const {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(shape_.frameBytes), 0);
        for (int i = 0; i < shape_.dataBits(); ++i) {
            if (((word >> i) & 1U) != 0) {
                bytes[static_cast<std::size_t>(i / 8)] |=
                    static_cast<std::uint8_t>(0x80U >> (i % 8));
            }
        }
        return CheckByteOf(shape_, bytes);
    }

    CodeShape shape_;
    int n_;
};

struct Family {
    std::vector<std::uint64_t> words;
    std::vector<double> odds;
};

// The sums depend on the data: every word of a one-byte frame, weighted as its bits are drawn.
// The linear codes do not: one word of the demo's frame stands for all.
Family DataFamily(const CodeShape& shape, double dataOne) {
    Family family;
    if (shape.frameBytes == 1) {
        for (std::uint64_t word = 0; word < 256; ++word) {
            const int ones = std::popcount(word);
            family.words.push_back(word);
            family.odds.push_back(std::pow(dataOne, ones) * std::pow(1 - dataOne, 8 - ones));
        }
    } else {
        family.words.push_back(0x5A3C0FF00F1DULL);
        family.odds.push_back(1.0);
    }
    return family;
}

double EnumeratedErrors(const Receiver& receiver, const Family& family, int k) {
    const int n = receiver.length();
    std::vector<int> places(static_cast<std::size_t>(k));
    for (int i = 0; i < k; ++i) {
        places[static_cast<std::size_t>(i)] = i;
    }
    double missed = 0;
    double sets = 0;
    for (;;) {
        for (std::size_t w = 0; w < family.words.size(); ++w) {
            missed += receiver.Missed(family.words[w], places) ? family.odds[w] : 0.0;
        }
        sets += 1;
        int i = k - 1; // the next k-set in lexicographic order
        while (i >= 0 && places[static_cast<std::size_t>(i)] == n - k + i) {
            --i;
        }
        if (i < 0) {
            return missed / sets;
        }
        ++places[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < k; ++j) {
            places[static_cast<std::size_t>(j)] = places[static_cast<std::size_t>(j) - 1] + 1;
        }
    }
}

double EnumeratedBursts(const Receiver& receiver, const Family& family, int length) {
    const int n = receiver.length();
    const int inner = std::max(length - 2, 0);
    double missed = 0;
    for (int first = 0; first + length <= n; ++first) {
        for (std::uint32_t pattern = 0; pattern < (1U << inner); ++pattern) {
            std::vector<int> places{first};
            for (int b = 0; b < inner; ++b) {
                if (((pattern >> b) & 1U) != 0) {
                    places.push_back(first + 1 + b);
                }
            }
            if (length > 1) {
                places.push_back(first + length - 1);
            }
            for (std::size_t w = 0; w < family.words.size(); ++w) {
                if (receiver.Missed(family.words[w], places)) {
                    missed += family.odds[w] / static_cast<double>(1U << inner);
                }
            }
        }
    }
    return missed / (n - length + 1);
}

class ModelSharesTest : public ::testing::TestWithParam<ModeRow> {};

TEST_P(ModelSharesTest, AgreeWithEnumeration) {
    CodeShape shape{GetParam().codeMode, GetParam().groupSize, 6};
    const bool sum = shape.codeMode == ModeChecksum || shape.codeMode == ModeInternet;
    // The sums on a one-byte frame with lopsided data, so that every data word counts.
    const double dataOne = sum ? 0.3 : kDataOneProbability;
    if (sum) {
        shape.frameBytes = 1;
    }
    const Receiver receiver(shape);
    const Family family = DataFamily(shape, dataOne);
    const std::vector<double> errors = ErrorShares(shape, 3, dataOne);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_NEAR(errors[static_cast<std::size_t>(k)], EnumeratedErrors(receiver, family, k),
                    1e-12)
            << k << " bits";
    }
    const std::vector<double> bursts = BurstShares(shape, 12, dataOne);
    for (int length = 1; length <= 12; ++length) {
        EXPECT_NEAR(bursts[static_cast<std::size_t>(length)],
                    EnumeratedBursts(receiver, family, length), 1e-12)
            << "burst of " << length;
    }
}

std::string RowName(const ::testing::TestParamInfo<ModeRow>& row) {
    std::string name;
    for (const char c : row.param.text) {
        name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryMode, ModelSharesTest, ::testing::ValuesIn(kModeTable), RowName);

// What the lessons say, on the demo's own frame.
TEST(ModelShares, TeachTheTextbookFacts) {
    const auto shares = [](std::string_view mode) {
        const CodeShape shape = *ShapeOfMode(mode);
        return std::pair{ErrorShares(shape, 8), BurstShares(shape, SentBits(shape))};
    };
    const auto [crcErrors, crcBursts] = shares("CRC-8");
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(crcErrors[static_cast<std::size_t>(k)], 0.0) << k;
    }
    EXPECT_GT(crcErrors[4], 0.0);
    for (const std::string_view mode : {"CRC-8", "Checksum", "Parity 6V"}) {
        const auto [errors, bursts] = shares(mode);
        for (int length = 1; length <= 8; ++length) {
            EXPECT_EQ(bursts[static_cast<std::size_t>(length)], 0.0) << mode << " " << length;
        }
        // A longer burst is missed about once in 256.
        EXPECT_NEAR(bursts[20] * 256, 1.0, 0.1) << mode;
        // Two flips in one column, or two that cancel in the sum; never in CRC-8.
        EXPECT_EQ(errors[2] > 0.0, mode != "CRC-8") << mode;
    }
    const auto [internetErrors, internetBursts] = shares("Internet");
    EXPECT_GT(internetBursts[8], 0.0); // 0x00 and 0xFF: the sum's two zeros
    EXPECT_EQ(internetBursts[7], 0.0);
    EXPECT_GT(shares("Parity 8").first[2], 0.0);
    EXPECT_GT(shares("Parity 8").second[3], 0.0);
    EXPECT_EQ(shares("None").first[5], 1.0);
}

} // namespace
} // namespace stats
} // namespace bitwatch

#include "stats/packed_channel.h"

#include <array>
#include <bit>
#include <algorithm>
#include <cmath>

namespace bitwatch::stats {

namespace {

constexpr int kBits = 48;
constexpr std::uint32_t kHalfSteps = 1U << 23U; // a data bit is "1" when its draw exceeds 0.5
constexpr double kSteps = 16777216.0;

constexpr std::uint64_t BitOf(int index) {
    return std::uint64_t{1} << (kBits - 1 - index);
}

std::array<std::uint8_t, 6> Bytes(std::uint64_t word) {
    std::array<std::uint8_t, 6> bytes{};
    for (int b = 0; b < 6; ++b) {
        bytes[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(word >> (40 - 8 * b));
    }
    return bytes;
}

} // namespace

PackedChannel::PackedChannel(const CodeShape& shape, float flipProbability)
    : shape_(shape),
      flipThreshold_(flipProbability > 0.0F
                         ? static_cast<std::uint32_t>(std::min(
                               kSteps, std::ceil(static_cast<double>(flipProbability) * kSteps)))
                         : 0U) {
    if (shape_.parityGroups()) {
        for (int i = shape_.groupSize - 1; i < kBits; i += shape_.groupSize) {
            shownParity_ |= BitOf(i);
        }
        for (int i = 0; i < shape_.groupSize; ++i) {
            groupMask_ |= BitOf(i);
        }
    }
}

bool PackedChannel::ChecksAgree(std::uint64_t data, std::uint64_t dataErrors,
                                std::uint64_t parityErrors, unsigned checkErrors) const {
    if (shape_.parityGroups()) {
        // A group is caught when the parity of its data errors differs from the flip of its
        // parity cell.
        const int size = shape_.groupSize;
        for (int first = 0; first < kBits; first += size) {
            const std::uint64_t group = groupMask_ >> first;
            const bool odd = (std::popcount(dataErrors & group) % 2) != 0;
            const bool parityFlipped = (parityErrors & BitOf(first + size - 1)) != 0;
            if (odd != parityFlipped) {
                return false;
            }
        }
        return true;
    }
    if (!shape_.checkByte()) {
        return true;
    }
    const auto sent = Bytes(data);
    const auto received = Bytes(data ^ dataErrors);
    return (CheckByteOf(shape_, sent) ^ checkErrors) == CheckByteOf(shape_, received);
}

bool PackedChannel::SendFrame(RandomSource& random) const {
    std::uint64_t data = 0;
    for (int i = 0; i < kBits; ++i) {
        if (random.DrawSteps() > kHalfSteps) {
            data |= BitOf(i);
        }
    }
    std::uint64_t dataErrors = 0;
    for (int i = 0; i < kBits; ++i) {
        if (random.DrawSteps() < flipThreshold_) {
            dataErrors |= BitOf(i);
        }
    }
    std::uint64_t parityErrors = 0;
    for (int i = 0; i < kBits; ++i) {
        if (random.DrawSteps() < flipThreshold_) {
            parityErrors |= BitOf(i);
        }
    }
    parityErrors &= shownParity_;
    unsigned checkErrors = 0;
    if (shape_.checkByte()) {
        for (int k = 0; k < 8; ++k) {
            if (random.DrawSteps() < flipThreshold_) {
                checkErrors |= 0x80U >> k;
            }
        }
    }
    return dataErrors != 0 && ChecksAgree(data, dataErrors, parityErrors, checkErrors);
}

} // namespace bitwatch::stats

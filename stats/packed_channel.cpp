#include "stats/packed_channel.h"

#include <algorithm>
#include <array>
#include <bit>
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
    }
}

bool PackedChannel::ChecksAgree(std::uint64_t data, std::uint64_t dataErrors,
                                std::uint64_t parityErrors, unsigned checkErrors) const {
    if (shape_.parityGroups()) {
        // A group is caught when the parity of its data errors differs from the flip of its
        // parity cell. XOR-ing the error word with itself shifted by 0 to size - 1 leaves each
        // group's parity in its lowest bit, where its parity cell's bit is.
        std::uint64_t window = dataErrors; // XOR of `width` neighbouring bits at each place
        std::uint64_t groupParity = 0;
        int shift = 0;
        for (int width = 1; width <= shape_.groupSize; width *= 2) {
            if ((shape_.groupSize & width) != 0) {
                groupParity ^= window >> shift;
                shift += width;
            }
            window ^= window >> width;
        }
        return (groupParity & shownParity_) == parityErrors;
    }
    if (!shape_.checkByte()) {
        return true;
    }
    // CRC-8 (initial value 0) and the running column parity are linear over GF(2): the check
    // agrees exactly when the check byte of the data's errors equals the check byte's errors.
    if (shape_.linearCheckByte()) {
        return CheckByteOf(shape_, Bytes(dataErrors)) == checkErrors;
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
    unsigned checkErrors = 0;
    if (shape_.checkByte()) {
        for (int k = 0; k < 8; ++k) {
            if (random.DrawSteps() < flipThreshold_) {
                checkErrors |= 0x80U >> k;
            }
        }
    }
    return Undetected(data, dataErrors, parityErrors, checkErrors);
}

} // namespace bitwatch::stats

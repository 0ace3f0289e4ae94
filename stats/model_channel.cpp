#include "stats/model_channel.h"

#include <bit>
#include <span>

#include "channel/error_draws.h"
#include "core/modes.h"
#include "stats/exact_models.h"

namespace bitwatch::stats {

namespace {

constexpr std::uint32_t kHalfSteps = 1U << 23U;

using Bytes = std::array<std::uint8_t, 8>;

// Data bit i is bit i of the word and bit 7 - i % 8 of byte i / 8: each byte reversed.
Bytes BytesOf(std::uint64_t word, int frameBytes) {
    static const std::array<std::uint8_t, 256> kReversed = [] {
        std::array<std::uint8_t, 256> reversed{};
        for (unsigned value = 0; value < 256; ++value) {
            for (unsigned bit = 0; bit < 8; ++bit) {
                reversed[value] |= static_cast<std::uint8_t>(((value >> bit) & 1U) << (7 - bit));
            }
        }
        return reversed;
    }();
    Bytes bytes{};
    for (int b = 0; b < frameBytes; ++b) {
        bytes[static_cast<std::size_t>(b)] = kReversed[(word >> (8 * b)) & 0xFFU];
    }
    return bytes;
}

} // namespace

ModelChannel::ModelChannel(const CodeShape& shape, const ErrorModel& model)
    : shape_(shape), model_(model), length_(SentBits(shape)), sum_(shape.sums()) {
    const int dataBits = shape.dataBits();
    for (int place = 0; place < length_; ++place) {
        const auto at = static_cast<std::size_t>(place);
        if (shape.parityGroups()) {
            const int group = place / (shape.groupSize + 1);
            const int within = place % (shape.groupSize + 1);
            syndrome_[at] = std::uint64_t{1} << group;
            if (within != shape.groupSize) {
                dataBit_[at] = std::uint64_t{1} << (group * shape.groupSize + within);
            }
        } else if (place < dataBits) {
            dataBit_[at] = std::uint64_t{1} << place;
            if (shape.checkByte()) {
                const Bytes unit = BytesOf(dataBit_[at], shape.frameBytes);
                syndrome_[at] = CheckByteOf(
                    shape, std::span(unit.data(), static_cast<std::size_t>(shape.frameBytes)));
            }
        } else {
            checkBit_[at] = std::uint64_t{0x80} >> (place - dataBits);
            syndrome_[at] = checkBit_[at];
        }
    }
}

bool ModelChannel::SendFrame(RandomSource& random) const {
    // A data bit is "1" when its draw exceeds 1/2.
    const std::uint64_t data = random.DrawAtLeast(shape_.dataBits(), kHalfSteps + 1);
    const FlipPlaces places = DrawModelFlips(random, model_, length_);
    std::uint64_t dataErrors = 0;
    std::uint64_t checkErrors = 0;
    std::uint64_t syndrome = 0;
    for (std::size_t w = 0; w < places.words().size(); ++w) {
        for (std::uint64_t word = places.words()[w]; word != 0; word &= word - 1) {
            const auto place = static_cast<std::size_t>(std::countr_zero(word)) + 64 * w;
            dataErrors ^= dataBit_[place];
            checkErrors ^= checkBit_[place];
            syndrome ^= syndrome_[place];
        }
    }
    if (dataErrors == 0) {
        return false;
    }
    return sum_ ? SumMissed(data, dataErrors, checkErrors) : syndrome == 0;
}

// Whether the check byte received (the one sent, with its flips) equals the one recomputed
// from the received data.
bool ModelChannel::SumMissed(std::uint64_t data, std::uint64_t dataErrors,
                             std::uint64_t checkErrors) const {
    const auto size = static_cast<std::size_t>(shape_.frameBytes);
    const Bytes sent = BytesOf(data, shape_.frameBytes);
    const Bytes received = BytesOf(data ^ dataErrors, shape_.frameBytes);
    return (CheckByteOf(shape_, std::span(sent.data(), size)) ^ checkErrors) ==
           CheckByteOf(shape_, std::span(received.data(), size));
}

std::uint64_t ModelRowStartState(std::optional<std::uint64_t> seed, const CodeShape& shape,
                                 const ErrorModel& model) {
    if (!seed) {
        return RandomSource::kStartState;
    }
    // Model rows take the places of rates no rate row can have (their bits as a float are NaNs).
    const std::uint32_t tag = 0xFFC00000U | (static_cast<std::uint32_t>(model.kind) << 8U) |
                              static_cast<std::uint32_t>(model.size);
    return RowStartState(seed, shape, std::bit_cast<float>(tag));
}

RowResult RunModelRow(const ModelRowPlan& plan, std::atomic<std::int64_t>& framesDone) {
    const ModelChannel channel(plan.shape, plan.model);
    RandomSource random(ModelRowStartState(plan.seed, plan.shape, plan.model));
    RowResult result;
    constexpr std::int64_t kReport = 4096;
    while (result.frames < plan.frames) {
        ++result.frames;
        if (channel.SendFrame(random)) {
            ++result.undetected;
            if (plan.untilUndetected && result.undetected >= *plan.untilUndetected) {
                result.reachedTarget = true;
                break;
            }
        }
        if (result.frames % kReport == 0) {
            framesDone.fetch_add(kReport, std::memory_order_relaxed);
        }
    }
    framesDone.fetch_add(result.frames % kReport, std::memory_order_relaxed);
    return result;
}

} // namespace bitwatch::stats

// Compiled once for each instruction set Highway targets (foreach_target.h includes this file
// again for each); the code between the namespace markers is written once.
#include "stats/vector_channel.h"

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "stats/vector_channel.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include <array>

#include "core/random_source.h"

HWY_BEFORE_NAMESPACE();
namespace bitwatch::stats::HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<std::uint64_t>;
using DI = hn::RebindToSigned<D>;
using V = hn::Vec<D>;

// The low 64 bits of a * b. AVX-512 multiplies 64-bit lanes; the other sets build it from three
// 32 x 32 multiplies (the high 32 x 32 product only reaches bits 64 and up).
HWY_INLINE V MulLow(V a, V b, V bHigh) {
#if HWY_TARGET == HWY_AVX3 || HWY_TARGET == HWY_AVX3_DL
    (void)bHigh;
    return a * b;
#elif HWY_TARGET == HWY_SCALAR
    (void)bHigh;
    return hn::Set(D(), hn::GetLane(a) * hn::GetLane(b));
#else
    const hn::Repartition<std::uint32_t, D> d32;
    const V low = hn::MulEven(hn::BitCast(d32, a), hn::BitCast(d32, b));
    const V cross = hn::MulEven(hn::BitCast(d32, hn::ShiftRight<32>(a)), hn::BitCast(d32, b)) +
                    hn::MulEven(hn::BitCast(d32, a), hn::BitCast(d32, bHigh));
    return low + hn::ShiftLeft<32>(cross);
#endif
}

// RandomSource::StepsOf in every lane: PCG-XSH-RR's output, top 24 bits, as signed lanes (every
// value is below 2^24) because x86 compares 64-bit lanes as signed.
HWY_INLINE hn::Vec<DI> Steps(V state) {
    const D d;
    const V low32 = hn::Set(d, 0xFFFFFFFFULL);
    const V xorShifted = hn::ShiftRight<27>(hn::ShiftRight<18>(state) ^ state) & low32;
    const V rotation = hn::ShiftRight<59>(state);
    const V left = (hn::Set(d, 32) - rotation) & hn::Set(d, 31);
    const V word = ((xorShifted >> rotation) | (xorShifted << left)) & low32;
    return hn::BitCast(DI(), hn::ShiftRight<8>(word));
}

// Bits in reverse order, so that lane j of a step lands where the scalar channel puts draw j.
constexpr std::array<std::uint8_t, 256> kReversed = [] {
    std::array<std::uint8_t, 256> reversed{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        unsigned r = 0;
        for (unsigned bit = 0; bit < 8; ++bit) {
            r |= ((byte >> bit) & 1U) << (7U - bit);
        }
        reversed[byte] = static_cast<std::uint8_t>(r);
    }
    return reversed;
}();

// The stream's states in two vectors that take turns: lanes n to n + L - 1, then n + L to
// n + 2L - 1. Each vector moves on by 2L once its draws are taken, so the two multiplies of a
// step pair are independent and overlap.
class StreamLanes {
  public:
    static constexpr int kLanes = static_cast<int>(hn::MaxLanes(D()));

    explicit StreamLanes(std::uint64_t state) {
        const RandomSource::Stride stride = RandomSource::StrideOf(std::uint64_t{2} * kLanes);
        multiplier_ = hn::Set(D(), stride.multiplier);
        multiplierHigh_ = hn::Set(D(), stride.multiplier >> 32U);
        increment_ = hn::Set(D(), stride.increment);
        alignas(64) std::array<std::uint64_t, std::size_t{2} * kLanes> first{};
        for (std::uint64_t& lane : first) {
            lane = state;
            state = RandomSource::Next(state);
        }
        next_ = hn::Load(D(), first.data());
        after_ = hn::Load(D(), first.data() + kLanes);
    }

    // kCount draws (a multiple of the lane count, at most 64) as bits, draw 0 the most
    // significant: a bit is set where the draw exceeds the threshold (data) or is below it (flips).
    template <bool kData, int kCount> std::uint64_t Bits(std::int64_t threshold) {
        static_assert(kCount % kLanes == 0 && kCount <= 64);
        const DI di;
        const auto limit = hn::Set(di, threshold);
        std::uint64_t bits = 0;
        for (int k = 0; k < kCount; k += kLanes) {
            const auto steps = Steps(next_);
            const V moved = MulLow(next_, multiplier_, multiplierHigh_) + increment_;
            next_ = after_;
            after_ = moved;
            const auto mask = kData ? hn::Gt(steps, limit) : hn::Lt(steps, limit);
            alignas(8) std::array<std::uint8_t, 8> packed{};
            hn::StoreMaskBits(di, mask, packed.data());
            bits |= static_cast<std::uint64_t>(kReversed[packed[0]] >> (8 - kLanes))
                    << (kCount - k - kLanes);
        }
        return bits;
    }

  private:
    V multiplier_;
    V multiplierHigh_;
    V increment_;
    V next_;
    V after_;
};

FrameRun SendFramesHere(const PackedChannel& channel, std::uint64_t state, std::int64_t frames,
                        std::int64_t stopAfter, std::int64_t* undetectedAt) {
    constexpr std::int64_t kHalfSteps = 1 << 23;
    StreamLanes lanes(state);
    const std::int64_t threshold = channel.flipThreshold();
    const bool checkByte = channel.checkByte();
    FrameRun run;
    while (run.frames < frames) {
        const std::uint64_t data = lanes.Bits<true, 48>(kHalfSteps);
        const std::uint64_t dataErrors = lanes.Bits<false, 48>(threshold);
        const std::uint64_t parityErrors = lanes.Bits<false, 48>(threshold);
        const auto checkErrors =
            checkByte ? static_cast<unsigned>(lanes.Bits<false, 8>(threshold)) : 0U;
        const std::int64_t frame = run.frames++;
        if (channel.Undetected(data, dataErrors, parityErrors, checkErrors)) {
            if (undetectedAt != nullptr) {
                undetectedAt[run.undetected] = frame;
            }
            if (++run.undetected == stopAfter) {
                break;
            }
        }
    }
    return run;
}

std::int64_t TargetHere() {
    return HWY_TARGET;
}

} // namespace bitwatch::stats::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace bitwatch::stats {

HWY_EXPORT(SendFramesHere);
HWY_EXPORT(TargetHere);

FrameRun SendFrames(const PackedChannel& channel, std::uint64_t state, std::int64_t frames,
                    std::int64_t stopAfter, std::int64_t* undetectedAt) {
    return HWY_DYNAMIC_DISPATCH(SendFramesHere)(channel, state, frames, stopAfter, undetectedAt);
}

std::vector<std::int64_t> VectorTargets() {
    return hwy::SupportedAndGeneratedTargets();
}

std::string VectorTargetName(std::int64_t target) {
    return hwy::TargetName(target);
}

std::int64_t ChosenVectorTarget() {
    return HWY_DYNAMIC_DISPATCH(TargetHere)();
}

void ForceVectorTarget(std::int64_t target) {
    hwy::SetSupportedTargetsForTest(target);
}

} // namespace bitwatch::stats
#endif

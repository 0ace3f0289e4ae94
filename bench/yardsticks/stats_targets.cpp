// Frames per second of bitwatch-stats' channel on one core, in every mode at 1 %: a plain scalar
// loop over the same generator and the same verdicts (the yardstick), and the vectorised draws
// in each instruction set this processor has, with the same count of undetected frames.
//   bitwatch_stats_targets [frames per measurement, default 4000000]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/vector_channel.h"

namespace {

using bitwatch::RandomSource;
using bitwatch::stats::PackedChannel;

std::uint64_t Bits(std::uint64_t& state, int count, std::uint32_t threshold, bool data) {
    std::uint64_t bits = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t steps = RandomSource::StepsOf(state);
        state = RandomSource::Next(state);
        if (data ? steps > threshold : steps < threshold) {
            bits |= std::uint64_t{1} << (count - 1 - i);
        }
    }
    return bits;
}

// The plain loop: one draw after another, no counter, no scripted draws.
std::int64_t ScalarLoop(const PackedChannel& channel, std::uint64_t state, std::int64_t frames) {
    std::int64_t undetected = 0;
    const std::uint32_t threshold = channel.flipThreshold();
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        const std::uint64_t data = Bits(state, 48, 1U << 23U, true);
        const std::uint64_t dataErrors = Bits(state, 48, threshold, false);
        const std::uint64_t parityErrors = Bits(state, 48, threshold, false);
        const auto checkErrors =
            channel.checkByte() ? static_cast<unsigned>(Bits(state, 8, threshold, false)) : 0U;
        undetected += channel.Undetected(data, dataErrors, parityErrors, checkErrors) ? 1 : 0;
    }
    return undetected;
}

// Frames per second, the best of three runs, and the undetected count.
template <typename Run> std::pair<double, std::int64_t> Measure(std::int64_t frames, Run run) {
    double best = 0;
    std::int64_t undetected = 0;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        undetected = run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, static_cast<double>(frames) / took.count());
    }
    return {best, undetected};
}

} // namespace

int main(int argc, char* argv[]) {
    const std::int64_t frames = argc > 1 ? std::atoll(argv[1]) : 4'000'000;
    if (frames < 1) {
        std::fprintf(stderr, "usage: %s [frames per measurement]\n", argv[0]);
        return 2;
    }
    const auto targets = bitwatch::stats::VectorTargets();
    std::printf("M frames/s on one core at 1 %%, %lld frames, best of 3\n%-10s %8s",
                static_cast<long long>(frames), "mode", "scalar");
    for (const std::int64_t target : targets) {
        const std::string name = bitwatch::stats::VectorTargetName(target);
        std::printf(" %8s %6s", name.c_str(), "ratio");
    }
    std::printf("\n");
    for (const bitwatch::ModeRow& mode : bitwatch::kModeTable) {
        const PackedChannel channel(*bitwatch::stats::ShapeOfMode(mode.text),
                                    bitwatch::FlipProbability("1"));
        const auto [scalar, expected] =
            Measure(frames, [&] { return ScalarLoop(channel, RandomSource::kStartState, frames); });
        std::printf("%-10s %8.2f", std::string(mode.text).c_str(), scalar / 1e6);
        for (const std::int64_t target : targets) {
            bitwatch::stats::ForceVectorTarget(target);
            const auto [vector, undetected] = Measure(frames, [&] {
                return bitwatch::stats::SendFrames(channel, RandomSource::kStartState, frames)
                    .undetected;
            });
            if (undetected != expected) {
                std::fprintf(stderr, "\n%s: %lld undetected, the scalar loop %lld\n",
                             std::string(mode.text).c_str(), static_cast<long long>(undetected),
                             static_cast<long long>(expected));
                return 1;
            }
            std::printf(" %8.2f %5.2fx", vector / 1e6, vector / scalar);
        }
        bitwatch::stats::ForceVectorTarget(0);
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}

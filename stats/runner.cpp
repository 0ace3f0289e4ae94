#include "stats/runner.h"

#include <thread>
#include <vector>

#include "channel/send_frame.h"
#include "core/random_source.h"
#include "stats/packed_channel.h"

namespace bitwatch::stats {

namespace {

constexpr std::int64_t kProgressStep = 1 << 14;

std::uint64_t SplitMix64(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30U)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27U)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31U);
}

} // namespace

std::uint64_t WorkerState(std::optional<std::uint64_t> seed, const std::string& modeText,
                          const std::string& rateText, int thread) {
    if (!seed) {
        return thread == 0
                   ? RandomSource::kStartState
                   : SplitMix64(RandomSource::kStartState + static_cast<std::uint64_t>(thread));
    }
    // FNV-1a over "mode|rate" names the row.
    std::string key = modeText;
    key.append("|").append(rateText);
    std::uint64_t row = 0xcbf29ce484222325ULL;
    for (const char c : key) {
        row = (row ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    return SplitMix64(SplitMix64(*seed ^ row) + static_cast<std::uint64_t>(thread));
}

RowResult RunRow(const RowPlan& plan, std::atomic<std::int64_t>& framesDone) {
    const PackedChannel channel(plan.shape, FlipProbability(plan.rateText));
    const int threads = plan.threads;
    std::atomic<std::int64_t> undetectedTotal{0};
    std::vector<RowResult> results(static_cast<std::size_t>(threads));
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < threads; ++t) {
            // The first worker takes the remainder, so one thread runs every frame.
            const std::int64_t share = plan.frames / threads + (t == 0 ? plan.frames % threads : 0);
            workers.emplace_back([&, t, share] {
                RandomSource random(WorkerState(plan.seed, plan.modeText, plan.rateText, t));
                RowResult& mine = results[static_cast<std::size_t>(t)];
                std::int64_t unreported = 0;
                for (std::int64_t frame = 0; frame < share; ++frame) {
                    if (plan.untilUndetected &&
                        undetectedTotal.load(std::memory_order_relaxed) >= *plan.untilUndetected) {
                        break;
                    }
                    ++mine.frames;
                    if (channel.SendFrame(random)) {
                        ++mine.undetected;
                        undetectedTotal.fetch_add(1, std::memory_order_relaxed);
                    }
                    if (++unreported == kProgressStep) {
                        framesDone.fetch_add(unreported, std::memory_order_relaxed);
                        unreported = 0;
                    }
                }
                framesDone.fetch_add(unreported, std::memory_order_relaxed);
            });
        }
    }
    RowResult total;
    for (const RowResult& result : results) {
        total.frames += result.frames;
        total.undetected += result.undetected;
    }
    return total;
}

} // namespace bitwatch::stats

#include "stats/runner.h"

#include <gtest/gtest.h>

#include "channel/run_control.h"
#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/exact.h"
#include "stats/intervals.h"
#include "stats/options.h"
#include "stats/packed_channel.h"

namespace bitwatch::stats {
namespace {

RowResult SendRow(const char* mode, const char* rate, std::int64_t frames, int threads,
                  std::optional<std::uint64_t> seed, std::optional<std::int64_t> until = {}) {
    const RowPlan plan{*ShapeOfMode(mode), rate, frames, until, seed, threads};
    std::atomic<std::int64_t> done{0};
    return RunRow(plan, done);
}

TEST(RunRow, GivesTheSameCountsForAnyNumberOfThreads) {
    struct Case {
        const char* mode = nullptr;
        std::optional<std::uint64_t> seed;
        std::optional<std::int64_t> until;
    };
    for (const Case& row : {Case{"CRC-8", 7, {}}, Case{"Parity 8", {}, {}}, Case{"Checksum", 3, 25},
                            Case{"Parity 2", {}, 40}}) {
        const RowResult one = SendRow(row.mode, "4", 60'000, 1, row.seed, row.until);
        for (const int threads : {2, 3, 8}) {
            const RowResult many = SendRow(row.mode, "4", 60'000, threads, row.seed, row.until);
            EXPECT_EQ(many.frames, one.frames) << row.mode << " on " << threads << " threads";
            EXPECT_EQ(many.undetected, one.undetected) << row.mode << " on " << threads;
            EXPECT_EQ(many.reachedTarget, one.reachedTarget) << row.mode << " on " << threads;
        }
        if (row.until) {
            EXPECT_TRUE(one.reachedTarget) << row.mode;
            EXPECT_EQ(one.undetected, *row.until) << row.mode;
        }
    }
}

// The largest row the options take must be one the runner can plan: its block count and the
// place of its last block in the stream are computed without overflow (the sanitizer build checks).
TEST(RunRow, PlansTheLargestRow) {
    for (const int threads : {1, 2}) {
        const RowResult result =
            SendRow("None", "100", kMaxFrames, threads, 5, kMaxUntilUndetected / kMaxFrames);
        EXPECT_TRUE(result.reachedTarget);
        EXPECT_EQ(result.frames, 1); // every bit flips: the first frame is undetected
        EXPECT_EQ(result.undetected, 1);
    }
}

// Without a seed a row is the window's run from launch, frame for frame, however it is split.
TEST(RunRow, UnseededIsTheWindowsRun) {
    Form form;
    Startup(form);
    form.cmbMode.SetText("Parity 6");
    form.cmbErrorRate.SetText("3");
    form.stopOnUndetected = kTrue; // as "Find UE" runs: stop at the third undetected frame
    std::int64_t ticks = 0;
    while (form.undetectedCount < 3) {
        RunTick(form);
        ++ticks;
    }
    const RowResult row = SendRow("Parity 6", "3", 10'000'000, 2, std::nullopt, 3);
    EXPECT_EQ(row.frames, ticks);
    EXPECT_EQ(row.undetected, 3);

    const RowResult fixed = SendRow("Parity 6", "3", ticks, 2, std::nullopt);
    EXPECT_EQ(fixed.undetected, 3);

    // Across blocks too: the blocks join up into the one stream the window draws from.
    const std::int64_t frames = 3 * kBlockFrames + 100;
    const PackedChannel channel(*ShapeOfMode("Parity 6"), FlipProbability("3"));
    RandomSource sequential;
    std::int64_t undetected = 0;
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        undetected += channel.SendFrame(sequential) ? 1 : 0;
    }
    EXPECT_EQ(SendRow("Parity 6", "3", frames, 3, std::nullopt).undetected, undetected);
}

TEST(RunRow, SeededRowsDependOnTheRateNotItsSpelling) {
    const RowResult plain = SendRow("Internet", "2", 20'000, 2, 11);
    const RowResult spelled = SendRow("Internet", "2.0", 20'000, 2, 11);
    const RowResult other = SendRow("Internet", "2", 20'000, 2, 12);
    EXPECT_EQ(plain.undetected, spelled.undetected);
    EXPECT_NE(plain.undetected, other.undetected);
}

// A search's row marks the exact value as outside its interval in about one row in twenty, as
// a 95 % interval must; with Wilson's fixed-count interval it was one in five or more.
TEST(RunRow, SearchIntervalsAreCalibrated) {
    const CodeShape shape = *ShapeOfMode("Checksum");
    const double exact = UndetectedProbability(shape, EffectiveFlipProbability(0.05F));
    for (const std::int64_t target : {1, 4}) {
        constexpr int kSeeds = 1000;
        int outside = 0;
        for (int seed = 0; seed < kSeeds; ++seed) {
            const RowResult row = SendRow("Checksum", "5", 1'000'000'000, 1,
                                          static_cast<std::uint64_t>(seed), target);
            ASSERT_TRUE(row.reachedTarget);
            const Interval interval = RowInterval(row);
            outside += exact < interval.low || exact > interval.high ? 1 : 0;
        }
        const double share = static_cast<double>(outside) / kSeeds;
        EXPECT_GT(share, 0.02) << "K = " << target;
        EXPECT_LT(share, 0.075) << "K = " << target;
    }
}

} // namespace
} // namespace bitwatch::stats

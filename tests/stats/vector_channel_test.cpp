// Every instruction set compiled in must give exactly the scalar channel's verdicts: the same
// undetected frames in every mode and rate, seeded and unseeded, on any number of threads, in a
// search, and the rows committed with the figure.

#include "stats/vector_channel.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel/send_frame.h"
#include "core/frame.h"
#include "stats/runner.h"

namespace bitwatch::stats {
namespace {

std::int64_t FramesPerCase() {
    // The sanitizer build asks for fewer.
    const char* value = std::getenv("BITWATCH_EQUIVALENCE_FRAMES");
    return value != nullptr ? std::atoi(value) / 10 : 5'000;
}

// Each compiled target in turn; the widest again afterwards.
class EachTarget : public testing::TestWithParam<std::int64_t> {
  protected:
    void SetUp() override {
        ForceVectorTarget(GetParam());
        ASSERT_EQ(ChosenVectorTarget(), GetParam()) << VectorTargetName(GetParam());
    }
    void TearDown() override { ForceVectorTarget(0); }
};

std::vector<std::int64_t> ScalarUndetected(const PackedChannel& channel, std::uint64_t state,
                                           std::int64_t frames) {
    RandomSource random(state);
    std::vector<std::int64_t> undetected;
    for (std::int64_t frame = 0; frame < frames; ++frame) {
        if (channel.SendFrame(random)) {
            undetected.push_back(frame);
        }
    }
    return undetected;
}

TEST_P(EachTarget, FindsTheScalarChannelsUndetectedFrames) {
    const std::int64_t frames = FramesPerCase();
    for (const ModeRow& mode : kModeTable) {
        for (const char* rate : {"0.1", "1", "5", "100"}) {
            for (const std::uint64_t state : {RandomSource::kStartState, std::uint64_t{7}}) {
                const PackedChannel channel(*ShapeOfMode(mode.text), FlipProbability(rate));
                const std::vector<std::int64_t> expected = ScalarUndetected(channel, state, frames);
                std::vector<std::int64_t> found(static_cast<std::size_t>(frames));
                const FrameRun run = SendFrames(channel, state, frames, frames, found.data());
                found.resize(static_cast<std::size_t>(run.undetected));
                EXPECT_EQ(run.frames, frames);
                EXPECT_EQ(found, expected) << mode.text << " at " << rate << " %, state " << state;
            }
        }
    }
}

TEST_P(EachTarget, StopsAfterTheAskedUndetectedFrame) {
    const PackedChannel channel(*ShapeOfMode("Parity 2"), FlipProbability("5"));
    const std::vector<std::int64_t> expected = ScalarUndetected(channel, 3, 2'000);
    ASSERT_GE(expected.size(), 5U);
    std::vector<std::int64_t> found(5);
    const FrameRun run = SendFrames(channel, 3, 2'000, 5, found.data());
    EXPECT_EQ(run.undetected, 5);
    EXPECT_EQ(run.frames, expected[4] + 1);
    EXPECT_EQ(found, std::vector<std::int64_t>(expected.begin(), expected.begin() + 5));
}

TEST_P(EachTarget, RowsAreTheSameOnAnyNumberOfThreadsAndInASearch) {
    const std::int64_t frames = 3 * kBlockFrames + 77;
    for (const char* mode : {"CRC-8", "Parity 1", "Internet"}) {
        for (const std::optional<std::uint64_t> seed : {std::optional<std::uint64_t>{}, {9}}) {
            for (const std::optional<std::int64_t> until : {std::optional<std::int64_t>{}, {3}}) {
                const RowPlan plan{*ShapeOfMode(mode), "5", frames, until, seed, 1};
                const PackedChannel channel(plan.shape, FlipProbability("5"));
                const std::vector<std::int64_t> scalar = ScalarUndetected(
                    channel, RowStartState(seed, plan.shape, FlipProbability("5")), frames);
                for (const int threads : {1, 3}) {
                    RowPlan threaded = plan;
                    threaded.threads = threads;
                    std::atomic<std::int64_t> done{0};
                    const RowResult row = RunRow(threaded, done);
                    if (until && scalar.size() >= static_cast<std::size_t>(*until)) {
                        EXPECT_EQ(row.frames, scalar[static_cast<std::size_t>(*until - 1)] + 1)
                            << mode << " on " << threads;
                        EXPECT_EQ(row.undetected, *until);
                    } else {
                        EXPECT_EQ(row.frames, frames) << mode << " on " << threads;
                        EXPECT_EQ(row.undetected, static_cast<std::int64_t>(scalar.size()))
                            << mode << " on " << threads;
                    }
                }
            }
        }
    }
}

// Rows of the committed figure data (2,000,000 frames each, seed 1), counted again.
TEST_P(EachTarget, CountsTheCommittedRows) {
    if (std::getenv("BITWATCH_EQUIVALENCE_FRAMES") != nullptr) {
        GTEST_SKIP() << "too slow for the sanitizer build; the other cases cover it there";
    }
    std::ifstream csv(BITWATCH_DOCS_DIR "/undetected-rates.csv");
    ASSERT_TRUE(csv) << "cannot read the committed rows";
    std::string line;
    std::getline(csv, line); // the header
    int checked = 0;
    while (std::getline(csv, line)) {
        std::vector<std::string> fields;
        std::stringstream cells(line);
        for (std::string field; std::getline(cells, field, ',');) {
            fields.push_back(field);
        }
        ASSERT_GE(fields.size(), 4U) << line;
        const std::string& mode = fields[0];
        if (mode != "CRC-8" && mode != "Checksum" && mode != "Parity 6V") {
            continue;
        }
        if (fields[1] != "1" && fields[1] != "5") {
            continue;
        }
        const RowPlan plan{*ShapeOfMode(mode), fields[1], std::stoll(fields[2]), {}, 1, 2};
        std::atomic<std::int64_t> done{0};
        EXPECT_EQ(RunRow(plan, done).undetected, std::stoll(fields[3])) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 6);
}

INSTANTIATE_TEST_SUITE_P(Targets, EachTarget, testing::ValuesIn(VectorTargets()),
                         [](const testing::TestParamInfo<std::int64_t>& row) {
                             return VectorTargetName(row.param);
                         });

} // namespace
} // namespace bitwatch::stats

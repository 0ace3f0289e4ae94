#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "stats/code_shape.h"
#include "stats/intervals.h"

namespace bitwatch::stats {

// A row's frames are sent in blocks of this many. Block b runs the row's one random stream from
// draw b * kBlockFrames * (draws per frame) on, so the blocks can go to any number of threads in
// any order and still add up to exactly the frames of one sequential run.
inline constexpr std::int64_t kBlockFrames = 4096;

struct RowPlan {
    CodeShape shape;
    std::string rateText;
    std::int64_t frames = 0;
    std::optional<std::int64_t> untilUndetected;
    std::optional<std::uint64_t> seed;
    int threads = 1;
};

struct RowResult {
    std::int64_t frames = 0;
    std::int64_t undetected = 0;
    // True when the row stopped at its untilUndetected-th undetected frame, not at its cap.
    bool reachedTarget = false;
};

// Where the row's stream starts. Without a seed it is the demo's own start state, so the row is
// the window's run from launch. With a seed it is mixed with the code and the flip probability
// (not their spellings: "1" and "1.0" are the same rate), so that rows are independent of one
// another and each reproduces whatever other rows are chosen with it.
std::uint64_t RowStartState(std::optional<std::uint64_t> seed, const CodeShape& shape,
                            float flipProbability);

// Sends the row's frames on its worker threads; framesDone grows as they go, for a progress bar.
// The result depends on the plan alone, never on the number of threads.
RowResult RunRow(const RowPlan& plan, std::atomic<std::int64_t>& framesDone);

// The row's 95 % interval for its stopping rule: a search that found its target stopped on a
// success, which a fixed-count interval does not allow for (it would mark the exact value as
// outside several times too often); a row that ran its frames counted a fixed number.
Interval RowInterval(const RowResult& result);

} // namespace bitwatch::stats

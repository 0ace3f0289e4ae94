#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "stats/code_shape.h"
#include "stats/wilson.h"

namespace bitwatch::stats {

struct RowPlan {
    std::string modeText;
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
};

// The generator state of worker `thread` of a row. Without a seed the first worker starts from
// the demo's own start state, as the window does after launch (so every row reuses the same
// draws). With a seed, the row's mode and rate text are mixed in, so that rows are independent
// of one another and each reproduces whatever other rows are chosen with it.
std::uint64_t WorkerState(std::optional<std::uint64_t> seed, const std::string& modeText,
                          const std::string& rateText, int thread);

// Sends the row's frames on its worker threads; framesDone grows as they go, for a progress bar.
RowResult RunRow(const RowPlan& plan, std::atomic<std::int64_t>& framesDone);

} // namespace bitwatch::stats

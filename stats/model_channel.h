#pragma once

// The companion's channels for bitwatch-stats: exactly k flipped bits or one burst, sent frame
// by frame with the window's own draws, so that an unseeded row is the companion's run from
// launch. A frame's draws depend on its places (a place is drawn again now and then), so a row
// runs on one thread from its first frame; rows run side by side instead.

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

#include "core/error_model.h"
#include "core/random_source.h"
#include "stats/code_shape.h"
#include "stats/runner.h"

namespace bitwatch::stats {

class ModelChannel {
  public:
    ModelChannel(const CodeShape& shape, const ErrorModel& model);

    // Sends one frame as the window's channel does (48 data draws, then the model's); true
    // when its verdict is "Undetected Errors".
    bool SendFrame(RandomSource& random) const;

  private:
    bool SumMissed(std::uint64_t data, std::uint64_t dataErrors, std::uint64_t checkErrors) const;

    using PerPlace = std::array<std::uint64_t, kLongestFrame + 8>;

    CodeShape shape_;
    ErrorModel model_;
    int length_ = 0;
    bool sum_ = false; // the sums' verdict depends on the data, the others' only on the errors
    // For each place in the order sent: the data bit it is (bit i of the data word, data bit 0
    // the first sent) or the check cell (cell j as bit 7 - j of the check byte)...
    PerPlace dataBit_{};
    PerPlace checkBit_{};
    // ... or, in a linear code, what its flip does to the syndrome (each group's parity, or the
    // received check byte against the one recomputed): damage is missed when they cancel.
    PerPlace syndrome_{};
};

struct ModelRowPlan {
    CodeShape shape;
    ErrorModel model;
    std::int64_t frames = 0;
    std::optional<std::int64_t> untilUndetected;
    std::optional<std::uint64_t> seed;
};

// Where a model row's stream starts: the demo's own start state without a seed; with one, mixed
// with the code and the model, as a rate row mixes its rate.
std::uint64_t ModelRowStartState(std::optional<std::uint64_t> seed, const CodeShape& shape,
                                 const ErrorModel& model);

RowResult RunModelRow(const ModelRowPlan& plan, std::atomic<std::int64_t>& framesDone);

} // namespace bitwatch::stats

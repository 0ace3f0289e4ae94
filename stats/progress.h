#pragma once

// The one-line progress display of a long run, shown on standard error when it is a terminal.

#include <cstdint>
#include <optional>
#include <string>

namespace bitwatch::stats {

struct ProgressState {
    int rowsDone = 0;
    int rows = 0;
    std::int64_t framesDone = 0;
    double seconds = 0;
    // All the frames the run will send, when that is known (a search's is not).
    std::optional<std::int64_t> framesInAll;
};

// Whether a run that has reached this state is worth a display: one that goes on for more than
// about two seconds, judged from its pace once it has run for half a second.
bool WorthShowing(const ProgressState& state);

// "row 3 of 36, 24.1 M frames/s, about 1 min 20 s left".
std::string ProgressLine(const ProgressState& state);

} // namespace bitwatch::stats

#include "stats/progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bitwatch::stats {

namespace {

std::optional<double> SecondsLeft(const ProgressState& state) {
    if (!state.framesInAll || state.framesDone <= 0 || state.seconds <= 0) {
        return std::nullopt;
    }
    const double pace = static_cast<double>(state.framesDone) / state.seconds;
    return static_cast<double>(*state.framesInAll - state.framesDone) / pace;
}

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(std::ceil(seconds));
    if (whole < 60) {
        return std::to_string(whole) + " s";
    }
    if (whole < 3600) {
        return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    }
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

} // namespace

bool WorthShowing(const ProgressState& state) {
    if (state.seconds >= 2.0) {
        return true;
    }
    const std::optional<double> left = SecondsLeft(state);
    return state.seconds >= 0.5 && (!left || state.seconds + *left > 2.0);
}

std::string ProgressLine(const ProgressState& state) {
    char pace[32];
    const double perSecond =
        state.seconds > 0 ? static_cast<double>(state.framesDone) / state.seconds : 0.0;
    std::snprintf(pace, sizeof pace, "%.1f M frames/s", perSecond / 1e6);
    std::string line = "row " + std::to_string(std::min(state.rowsDone + 1, state.rows)) + " of " +
                       std::to_string(state.rows) + ", " + pace;
    const std::optional<double> left = SecondsLeft(state);
    line += left ? ", about " + Duration(*left) + " left" : ", searching";
    return line;
}

} // namespace bitwatch::stats

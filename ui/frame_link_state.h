#pragma once

// What a link to a frame carries, and in which order: the state from which every other record
// follows through the window's operations, read off a form and written as the link's bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/frame.h"

namespace bitwatch::link {

inline constexpr std::array<std::string_view, 4> kVerdicts{
    kVerdictNoErrors, kVerdictDetected, kVerdictUndetected, kVerdictFalsePositive};

// Every combination of the run's records that the buttons and the timer can leave.
struct RunState {
    bool enabled;
    int interval;
    std::string_view caption;
    std::int16_t stopOnUndetected;
};
inline constexpr std::array<RunState, 5> kRunStates{{
    {false, kStoppedInterval, kCaptionStart, kFalse}, // stopped, reset or after "One"
    {true, kSlowInterval, kCaptionFast, kFalse},      // a slow run
    {true, kFastInterval, kCaptionStop, kFalse},      // a fast run
    {true, kFastInterval, kCaptionStop, kTrue},       // a search
    {false, kFastInterval, kCaptionStart, kTrue},     // a search that found its frame
}};

struct FrameState {
    std::size_t modeRow = 0;
    std::string modeText;
    std::string rateText;
    std::uint64_t sentData = 0;     // row1[0..47], bit i for cell i
    std::uint64_t receivedData = 0; // row1[48..95]
    std::uint64_t receivedParity = 0;
    std::uint8_t receivedCheck = 0;
    std::size_t verdict = 0; // in kVerdicts
    std::uint64_t frames = 0;
    std::uint64_t undetected = 0;
    std::size_t run = 0; // in kRunStates
    std::uint64_t timerRestarts = 0;
    std::uint64_t draws = 0;
    std::uint8_t modelKind = 0;
    std::uint8_t modelSize = 0;
};

FrameState StateOf(const Form& form);

// The state's bytes, version first, sealed; and back, nothing for bytes of another version, cut,
// altered, or holding a value out of its range.
std::vector<std::uint8_t> Encode(const FrameState& state);
std::optional<FrameState> Decode(std::vector<std::uint8_t> bytes);

// What the counters and the run allow together.
bool CountsAgree(const FrameState& state);

} // namespace bitwatch::link

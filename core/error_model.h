#pragma once

// Which channel the frames go through: independent errors at the rate of the rate box, exactly
// k flipped bits, or one burst of L bits. The companion chooses it; the window itself always
// starts on random bit errors and never shows the choice.

#include <array>
#include <cstdint>
#include <string_view>

namespace bitwatch {

// The order is that of the companion's list and of the events that pick from it.
enum class ErrorModelKind : std::uint8_t {
    RandomBits, // each bit flips independently at the rate of cmbErrorRate
    ExactBits,  // exactly k distinct bits of the frame flip
    Burst,      // one burst of L bits: its first and last flip, each between them with odds 1/2
};

inline constexpr std::array<std::string_view, 3> kErrorModelNames{
    "Random bit errors", "Exactly k bits", "One burst of L bits"};

// The caption of k or L beside the list, by model; the random channel uses neither.
inline std::string_view SizeCaption(ErrorModelKind kind) {
    return kind == ErrorModelKind::Burst ? "Burst length L" : "Bits k";
}

// The most bits a frame sends: 48 data bits and a parity bit after each (Parity 1).
inline constexpr int kLongestFrame = 96;

struct ErrorModel {
    ErrorModelKind kind = ErrorModelKind::RandomBits;
    // k or L as chosen, 1 to kLongestFrame. A frame shorter than that takes all of its bits:
    // the choice is kept, so that going back to a longer frame finds it again.
    std::int16_t size = 2;

    bool operator==(const ErrorModel&) const = default;
};

// k or L as a frame of `frameLength` bits takes it.
inline int SizeInFrame(const ErrorModel& model, int frameLength) {
    return model.size < frameLength ? model.size : frameLength;
}

} // namespace bitwatch

#pragma once

// Why the check caught the damage, or missed it: the received frame as it now stands, worked
// through for the current mode with the frame's own numbers, from the records alone. Front ends
// show it beside the window; it never changes the window.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/codes.h"
#include "core/codes/workings.h"
#include "core/frame.h"

namespace bitwatch {

// A received cell that differs from its twin, and its place in the order the frame is sent:
// the 48 data bits, byte 0 first and most significant bit first; in the parity codes each shown
// parity bit right after its group's last data bit; in the check-byte codes the 8 check bits
// after the data.
struct FrameError {
    enum class Cell : std::uint8_t { Data, Parity, Check };
    Cell cell = Cell::Data;
    int index = 0; // data bit 0-47, the parity cell's data bit 0-47, or check bit 0-7
    int place = 0;
};

struct Explanation {
    std::int32_t codeMode = ModeNone;
    std::int16_t groupSize = kNoGroups;
    int frameLength = kDataBits; // bits in the order sent
    std::vector<FrameError> errors;
    int dataErrors = 0;
    int span = 0; // from the first damaged place to the last, inclusive; 0 without damage
    bool dataDiffers = false;
    bool checkAgrees = true;
    std::string_view verdict = kVerdictNoErrors;

    Working working;                  // the code's own, in the shape of its family
    std::uint8_t recomputedCheck = 0; // check-byte codes: from the received data
    std::uint8_t receivedCheck = 0;
    std::uint8_t sentCheck = 0;

    std::string reason; // one sentence: the verdict and why, in the code's terms
};

Explanation Explain(const Form& form);

// The long division as a student writes it, one row a line of '0', '1' and leading spaces, none
// wider than the 56 bits of the dividend: the dividend; then for each step the generator under
// the working's leading 1, and what remains with the next bits brought down, from its next
// leading 1 for nine bits or, after the last step, the remainder in 8 bits.
std::vector<std::string> DivisionRows(const CrcWorking& crc);

// x^a + x^b + ... + 1 for the set bits of a polynomial's coefficients.
std::string PolynomialText(std::uint64_t coefficients);

// The low `width` bits, most significant first, as 0 and 1.
std::string BitsText(std::uint64_t bits, int width);

} // namespace bitwatch

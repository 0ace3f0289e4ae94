#pragma once

// A code family as the program knows it, in one place: its check bits from the data (written
// into the check or parity cells of a side), the number of check bits it sends, its running check
// over the data bits for the exact programmes, and its working of the received frame for the
// explanation. Each family is one unit in this folder; the mode table (core/modes.h) points each
// mode at its unit and says whether it sends a check byte and how its exact odds are found.
//
// A table of functions rather than a class hierarchy: the codes hold no state and are fixed when
// the program is built, so each unit is a constant, found without a lookup at run time, and its
// functions are plain calls on the tick's hot path.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/codes.h"
#include "core/frame.h"

namespace bitwatch {

struct Explanation;

struct CodeUnit {
    std::string_view family;
    int sumModulus; // the sums' arithmetic: 256, or 255 for one's complement; 0 for the others

    // The check bits it sends with so many data bits (a parity code: one per group).
    int (*checkBits)(std::int16_t groupSize, int dataBits);
    // Writes the check cells of the transmitted side from its data, or compares those of the
    // received side; true when a received check cell disagrees.
    bool (*checkCells)(Form& form, Side side, const FrameBytes& bytes);
    // The check byte of any number of bytes (a check-byte code; 0 for the others).
    std::uint8_t (*checkByteOf)(std::span<const std::uint8_t> bytes);
    // The running check after data bit bitIndex (0 = byte 0's most significant) is one or zero,
    // and the check byte of its last value.
    std::uint8_t (*runningStep)(std::uint8_t state, int bitIndex, bool one);
    std::uint8_t (*finishCheck)(std::uint8_t state);
    // The code's working of the received frame into e.working, and whether its check agrees
    // (e.checkAgrees, and e.recomputedCheck for a check byte); returns the verdict's reason, or
    // nothing where no bit differs.
    std::string (*explain)(const Form& form, Explanation& e);
};

// The unit of a frame's code: parity groups whenever the group size selects them, else the
// code mode's.
const CodeUnit& UnitOf(std::int32_t codeMode, std::int16_t groupSize);

// The bits a frame of the code sends: the data, the parity bits or the check byte. The demo's
// frame has 48 data bits; the tests of the exact odds use shorter ones.
int SentBits(std::int32_t codeMode, std::int16_t groupSize, int dataBits = kDataBits);

// The verdict of a check that failed or not, on data that differs or not.
std::string_view VerdictOf(bool checkFailed, bool dataDiffers);

} // namespace bitwatch

#pragma once

// A code as the channel sees it: the mode, its parity group size, and the frame length in bytes
// (six in the demo; shorter frames let the tests check the exact results by brute force).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/modes.h"

namespace bitwatch::stats {

struct CodeShape {
    std::int32_t codeMode = ModeNone;
    std::int16_t groupSize = kNoGroups;
    int frameBytes = 6;

    int dataBits() const { return 8 * frameBytes; }
    bool parityGroups() const { return UsesParityGroups(groupSize); }
    bool checkByte() const { return !parityGroups() && UsesCheckByte(codeMode); }
    // A check byte that is not linear over GF(2): the two sums, whose exact odds need a
    // programme over their values rather than a weight distribution.
    bool sums() const { return checkByte() && CodeOf(codeMode).exact == ExactMethod::Sums; }
    // A check byte that is linear: its errors are caught exactly as its weight distribution says.
    bool linearCheckByte() const { return checkByte() && !sums(); }
    int groups() const { return parityGroups() ? dataBits() / groupSize : 0; }
};

// The shape of a mode text of the demo's table, or nothing for any other text.
std::optional<CodeShape> ShapeOfMode(std::string_view modeText);

// The check byte of the shape's code over the given bytes (check-byte modes only).
std::uint8_t CheckByteOf(const CodeShape& shape, std::span<const std::uint8_t> bytes);

} // namespace bitwatch::stats

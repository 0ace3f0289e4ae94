#pragma once

// Everything the program knows about its twelve code modes, in one place: the mode names and
// what each selects, the mode box's list, which modes carry a check byte and how it is computed.
// The check engine, the frame operations, bitwatch-stats and the benchmarks all read it here.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace bitwatch {

enum CodeMode : std::int32_t {
    ModeNone = 0,
    ModeParity = 1,
    ModeVerticalParity = 2,
    ModeChecksum = 3,
    ModeInternet = 4,
    ModeCrc8 = 5,
};

// groupSize in every mode that has no parity groups.
inline constexpr std::int16_t kNoGroups = 1000;

// Group sizes up to this select parity groups; larger ones (kNoGroups) leave the choice of the
// code to codeMode.
inline constexpr std::int16_t kLargestGroupSize = 99;

struct ModeRow {
    std::string_view text;
    CodeMode codeMode;
    std::int16_t groupSize;
};

// Tested in this order; a text selects a row only on an exact, case-sensitive match.
inline constexpr std::array<ModeRow, 12> kModeTable{{
    {"None", ModeNone, kNoGroups},
    {"Parity 1", ModeParity, 1},
    {"Parity 2", ModeParity, 2},
    {"Parity 4", ModeParity, 4},
    {"Parity 6", ModeParity, 6},
    {"Parity 6V", ModeVerticalParity, kNoGroups},
    {"Parity 8", ModeParity, 8},
    {"Parity 16", ModeParity, 16},
    {"Parity 48", ModeParity, 48},
    {"Checksum", ModeChecksum, kNoGroups},
    {"Internet", ModeInternet, kNoGroups},
    {"CRC-8", ModeCrc8, kNoGroups},
}};

// The mode box's list, in the order it is filled; the other four names are only typed.
inline constexpr std::array<std::string_view, 8> kModeList{
    "Parity 48", "Parity 6V", "Parity 6", "Parity 2", "Parity 1", "Checksum", "Internet", "CRC-8",
};

// The row whose name is exactly modeText, or nothing.
const ModeRow* FindMode(std::string_view modeText);

// The mode names joined by ", ", for messages that list the choices.
std::string_view ModeNamesList();

// True when groupSize selects the parity-group code, whatever codeMode says.
inline bool UsesParityGroups(std::int16_t groupSize) {
    return groupSize <= kLargestGroupSize;
}

// How the exact odds of a code are worked out: from the weight distribution of a linear code,
// or by a programme over the values of the two sums, which are not linear.
enum class ExactMethod { Linear, Sums };

// Each code family's unit (core/codes/code_unit.h): its check bits, running check and working.
struct CodeUnit;
extern const CodeUnit kNoCheckUnit;
extern const CodeUnit kParityGroupsUnit;
extern const CodeUnit kColumnParityUnit;
extern const CodeUnit kChecksumUnit;
extern const CodeUnit kInternetUnit;
extern const CodeUnit kCrc8Unit;

// What each value of codeMode brings besides its names: whether it shows and checks the
// eight-bit check byte, whether the window shows its two lines, how its exact odds are found,
// and the unit that is its code. A new code is one row here and its unit; the frame's reset fill
// is derived from its check byte.
struct CodeRow {
    CodeMode codeMode;
    bool checkByte;
    bool linesShown;
    ExactMethod exact;
    const CodeUnit* unit;
};

inline constexpr std::array<CodeRow, 6> kCodeTable{{
    {ModeNone, false, true, ExactMethod::Linear, &kNoCheckUnit},
    {ModeParity, false, false, ExactMethod::Linear, &kParityGroupsUnit},
    {ModeVerticalParity, true, true, ExactMethod::Linear, &kColumnParityUnit},
    {ModeChecksum, true, true, ExactMethod::Sums, &kChecksumUnit},
    {ModeInternet, true, true, ExactMethod::Sums, &kInternetUnit},
    {ModeCrc8, true, true, ExactMethod::Linear, &kCrc8Unit},
}};

// The row of a codeMode; a value outside the table reads as None.
constexpr const CodeRow& CodeOf(std::int32_t codeMode) {
    for (const CodeRow& row : kCodeTable) {
        if (row.codeMode == codeMode) {
            return row;
        }
    }
    return kCodeTable[0];
}

// True for the modes that show and check the eight-bit check byte.
constexpr bool UsesCheckByte(std::int32_t codeMode) {
    return CodeOf(codeMode).checkByte;
}

// The check byte of a check-byte mode over the given bytes; nothing for any other mode.
std::optional<std::uint8_t> CheckByteFor(std::int32_t codeMode,
                                         std::span<const std::uint8_t> bytes);

} // namespace bitwatch

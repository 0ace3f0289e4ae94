#pragma once

// Each code's working of the received frame, as the explanation shows it: one shape per code
// family, held in the explanation as one Working.

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "core/codes.h"

namespace bitwatch {

// Mode None: nothing is checked.
struct NoCheckWorking {};

struct GroupWorking {
    int first = 0; // data bits first to last
    int last = 0;
    int ones = 0;           // among the received data bits
    bool parityBit = false; // the received parity bit
    int flips = 0;          // damaged cells of the group, its parity bit included
    bool caught = false;
};

struct ParityWorking {
    std::vector<GroupWorking> groups;
};

struct ColumnWorking {
    std::array<int, 8> ones{};          // ones in received column c
    std::array<bool, 8> columnParity{}; // odd column c
    std::array<bool, 8> running{};      // parity of columns 0 to c: check bit c, recomputed
};

struct SumWorking {
    bool onesComplement = false; // the Internet checksum's sum, with end-around carries
    FrameBytes sent{};
    FrameBytes received{};
    int sentTotal = 0;
    int total = 0;          // of the received bytes
    std::vector<int> folds; // the received total after each end-around carry
    int sum = 0;            // the total as the code keeps it: mod 256, or folded
    int sentSum = 0;
    std::array<int, 6> changes{}; // received byte - sent byte
};

// The long division of the 56 received bits (data, then check byte) by 100000111.
struct DivisionStep {
    int position = 0;         // where the generator is subtracted: the leading 1, 0 = first bit
    std::uint64_t before = 0; // the 56 bits before the subtraction, bit 55 the first sent
};

struct CrcWorking {
    std::uint64_t dividend = 0;
    std::vector<DivisionStep> steps;
    std::uint8_t remainder = 0;
    std::uint64_t errorPattern = 0; // E(x): bit 55 - p for the bit sent at place p
    std::uint64_t quotient = 0;     // Q(x) with E(x) = G(x) Q(x), when G divides E
};

using Working = std::variant<NoCheckWorking, ParityWorking, ColumnWorking, SumWorking, CrcWorking>;

// One function per working's shape, for std::visit.
template <typename... Shapes> struct Overloaded : Shapes... { using Shapes::operator()...; };
// Clang deduces an aggregate's template arguments only from a guide.
template <typename... Shapes> Overloaded(Shapes...) -> Overloaded<Shapes...>;

} // namespace bitwatch

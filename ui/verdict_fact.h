#pragma once

// The general fact the companion prints after the verdict: what the chosen error model teaches
// about the code. A fact is chosen by the damage on screen, so that it is true of this very
// frame; with nothing damaged it is the model's own fact, printed only where the exact odds of
// the model agree with it. The random channel has no fact.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/explain.h"
#include "core/frame.h"

namespace bitwatch {

enum class VerdictFact : std::uint8_t {
    None,
    NothingChecked,         // mode None: damaged data slips through
    OddFlipsCaught,         // parity groups: an odd number of damaged cells
    PairInGroup,            // parity groups: a group holds an even number of flips, two or more
    PairInGroupBurst,       // the same, said of bursts
    SingleFlipCaught,       // one damaged cell
    ShortBurstColumns,      // column parity: damage spanning 8 places or fewer, caught
    LongBurst,              // column parity and the sums: damage spanning more than 8 places
    ColumnPair,             // column parity: a column holds an even number of data flips
    ShortBurstSum,          // the sums: damage spanning 8 places or fewer, caught
    OnesComplementBurst,    // Internet: eight data bits in a row flipped the same way
    OppositePair,           // the sums: a 0 to 1 and a 1 to 0 in one column of different bytes
    TopColumnPair,          // Checksum: two flips the same way in column 0 of different bytes
    TopColumnPairCaught,    // Internet: exactly two such flips, caught
    SumPairs,               // Checksum, nothing damaged: the ways two flips cancel
    SumPairsOnesComplement, // Internet, nothing damaged: the same
    CrcFewBits,             // CRC-8: three damaged cells or fewer, caught
    CrcOddBits,             // CRC-8: an odd number of damaged cells, caught
    CrcEvenBits,            // CRC-8: an even number k >= 4, some of whose patterns slip through
    CrcShortBurst,          // CRC-8: damage spanning 8 places or fewer, caught
    CrcLongBurst,           // CRC-8: damage spanning more than 8 places
};

inline constexpr int kVerdictFactCount = static_cast<int>(VerdictFact::CrcLongBurst) + 1;

// Whether the fact says that the code catches every error it speaks of (rather than that some
// slip through): with nothing damaged, such a fact is printed only where the model's exact odds
// are zero, and the others only where they are not.
bool FactSaysAllCaught(VerdictFact fact);

struct ChosenFact {
    VerdictFact fact = VerdictFact::None;
    int bits = 0; // the number the sentence names, where it names one
};

// exactOdds: the exact probability of "Undetected Errors" through the form's model.
ChosenFact ChooseFact(const Form& form, const Explanation& e, double exactOdds);

// The whole sentence; a fact with a number has it in place of "{k}".
std::string FactText(const ChosenFact& chosen);

} // namespace bitwatch

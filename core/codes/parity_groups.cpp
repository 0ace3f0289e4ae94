// Parity groups: one even-parity bit after each group of data bits, sent right after the group.

#include <algorithm>

#include "core/codes/check_byte.h"
#include "core/codes/code_unit.h"
#include "core/explain.h"

namespace bitwatch {

namespace {

int FirstCell(Side side) {
    return side == SideTransmitted ? 0 : kDataBits;
}

// With the group sizes of the mode table every group lies inside the 48 bits; a size that does
// not divide 48 gets a shorter last group, ending at bit 47.
bool CheckCells(Form& form, Side side, const FrameBytes& bytes) {
    const int groupSize = form.groupSize;
    // A group size below 1 exists only before start-up has chosen a mode: no groups then.
    if (groupSize < 1) {
        return false;
    }
    bool checkFailed = false;
    for (int first = 0; first < kDataBits; first += groupSize) {
        const int last = std::min(first + groupSize - 1, kDataBits - 1);
        const bool odd = GroupParity(bytes, first, last);
        TextLabel& cell = form.parity[FirstCell(side) + last];
        if (side == SideTransmitted) {
            cell.text = BitText(odd);
        } else if (CellIsOne(cell) != odd) {
            checkFailed = true;
        }
    }
    return checkFailed;
}

std::vector<GroupWorking> Groups(const Form& form, const Explanation& e,
                                 std::vector<int>& flippedParity) {
    std::vector<GroupWorking> groups;
    for (int first = 0; first < kDataBits; first += e.groupSize) {
        GroupWorking group{first, first + e.groupSize - 1};
        for (int k = group.first; k <= group.last; ++k) {
            group.ones += CellIsOne(form.row1[kDataBits + k]) ? 1 : 0;
        }
        group.parityBit = CellIsOne(form.parity[kDataBits + group.last]);
        group.caught = group.parityBit != (group.ones % 2 == 1);
        for (const FrameError& error : e.errors) {
            if (error.index >= group.first && error.index <= group.last) {
                ++group.flips;
                if (error.cell == FrameError::Cell::Parity) {
                    flippedParity.push_back(static_cast<int>(groups.size()) + 1);
                }
            }
        }
        groups.push_back(group);
    }
    return groups;
}

std::string Explain(const Form& form, Explanation& e) {
    std::vector<int> flippedParity;
    ParityWorking working{Groups(form, e, flippedParity)};
    std::vector<int> caught;
    std::vector<int> damaged;
    for (std::size_t g = 0; g < working.groups.size(); ++g) {
        const int number = static_cast<int>(g) + 1;
        if (working.groups[g].caught) {
            caught.push_back(number);
        }
        if (working.groups[g].flips > 0) {
            damaged.push_back(number);
        }
    }
    e.checkAgrees = caught.empty();
    e.working = std::move(working);
    const std::vector<GroupWorking>& groups = std::get<ParityWorking>(e.working).groups;
    if (!e.dataDiffers && e.checkAgrees) {
        return {};
    }
    if (!e.dataDiffers) {
        return "False Positive: the data arrived intact, but the parity " +
               std::string(flippedParity.size() == 1 ? "bit of group " : "bits of groups ") +
               ListText(flippedParity) + " " + (flippedParity.size() == 1 ? "was" : "were") +
               " flipped, so " +
               (caught.size() == 1 ? "that group no longer checks."
                                   : "those groups no longer check.");
    }
    if (!e.checkAgrees) {
        const GroupWorking& first = groups[static_cast<std::size_t>(caught.front() - 1)];
        return "Detected: " +
               (caught.size() == 1
                    ? "group " + ListText(caught) + " holds an odd number of flips (" +
                          std::to_string(first.flips) + "), so its parity is odd."
                    : "groups " + ListText(caught) +
                          " each hold an odd number of flips, so their parity is odd.");
    }
    if (damaged.size() == 1) {
        const int flips = groups[static_cast<std::size_t>(damaged.front() - 1)].flips;
        return "Undetected: " + std::string(flips == 2 ? "both" : "all " + std::to_string(flips)) +
               " flips are in group " + ListText(damaged) + ", whose parity is still even.";
    }
    return "Undetected: each damaged group (" + ListText(damaged) +
           ") holds an even number of flips, counting its parity bit, so every parity is still "
           "even.";
}

} // namespace

bool GroupParity(const FrameBytes& bytes, int first, int last) {
    int ones = 0;
    for (int k = first; k <= last; ++k) {
        ones += DataBit(bytes, k) ? 1 : 0;
    }
    return ones % 2 != 0;
}

const CodeUnit kParityGroupsUnit{
    .family = "parity groups",
    .sumModulus = 0,
    .checkBits = [](std::int16_t groupSize,
                    int dataBits) { return groupSize >= 1 ? dataBits / groupSize : 0; },
    .checkCells = CheckCells,
    .checkByteOf = [](std::span<const std::uint8_t> /*bytes*/) { return std::uint8_t{0}; },
    .runningStep = [](std::uint8_t state, int /*bitIndex*/, bool /*one*/) { return state; },
    .finishCheck = [](std::uint8_t state) { return state; },
    .explain = Explain,
};

} // namespace bitwatch

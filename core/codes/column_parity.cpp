// The running column parity ("Parity 6V"): check bit c is the parity of the ones in columns 0 to
// c of all six bytes together.

#include "core/codes/check_byte.h"
#include "core/codes/code_unit.h"
#include "core/explain.h"

namespace bitwatch {

namespace {

// The running parities of the column parities, as the check byte holds them.
std::uint8_t RunningParities(unsigned columnParities) {
    unsigned running = 0;
    unsigned check = 0;
    for (int column = 0; column < 8; ++column) {
        running ^= (columnParities >> (7 - column)) & 1U;
        check = check * 2 + running;
    }
    return static_cast<std::uint8_t>(check);
}

ColumnWorking Columns(const Form& form) {
    ColumnWorking columns;
    int running = 0;
    for (std::size_t c = 0; c < 8; ++c) {
        for (int r = 0; r < kFrameBytes; ++r) {
            columns.ones[c] +=
                CellIsOne(form.row1[kDataBits + 8 * r + static_cast<int>(c)]) ? 1 : 0;
        }
        columns.columnParity[c] = columns.ones[c] % 2 == 1;
        running += columns.ones[c];
        columns.running[c] = running % 2 == 1;
    }
    return columns;
}

std::string Explain(const Form& form, Explanation& e) {
    const ColumnWorking columns = Columns(form);
    unsigned recomputed = 0;
    for (const bool bit : columns.running) {
        recomputed = recomputed * 2 + (bit ? 1U : 0U);
    }
    e.working = columns;
    e.recomputedCheck = static_cast<std::uint8_t>(recomputed);
    e.checkAgrees = e.recomputedCheck == e.receivedCheck;
    if (!e.dataDiffers) {
        return e.checkAgrees ? std::string() : FalsePositiveOfCheckByte(e);
    }
    if (!e.checkAgrees) {
        return "Detected: " + CheckByteDisagreement(e) + ".";
    }
    if (!DamagedCheckBits(e).empty()) {
        return "Undetected: the flipped check bits change the received check byte exactly as "
               "the data flips change the recomputed one.";
    }
    std::array<bool, 8> damaged{};
    for (const FrameError& error : e.errors) {
        damaged[static_cast<std::size_t>(error.index % 8)] = true;
    }
    std::vector<int> damagedColumns;
    for (int c = 0; c < 8; ++c) {
        if (damaged[static_cast<std::size_t>(c)]) {
            damagedColumns.push_back(c);
        }
    }
    return "Undetected: " +
           std::string(damagedColumns.size() == 1
                           ? "the flips are all in column " + ListText(damagedColumns) +
                                 ", an even number of them"
                           : "columns " + ListText(damagedColumns) +
                                 " each hold an even number of flips") +
           ", so every column parity and the check byte are unchanged.";
}

} // namespace

std::uint8_t VerticalParityByte(std::span<const std::uint8_t> bytes) {
    unsigned columnParities = 0;
    for (const std::uint8_t byte : bytes) {
        columnParities ^= byte;
    }
    return RunningParities(columnParities);
}

const CodeUnit kColumnParityUnit{
    .family = "running column parity",
    .sumModulus = 0,
    .checkBits = [](std::int16_t /*groupSize*/, int /*dataBits*/) { return kCheckBits; },
    .checkCells =
        [](Form& form, Side side, const FrameBytes& bytes) {
            return CheckByteCells(form, side, VerticalParityByte(bytes));
        },
    .checkByteOf = VerticalParityByte,
    // The running value is the exclusive or of the bytes so far: the column parities.
    .runningStep =
        [](std::uint8_t state, int bitIndex, bool one) {
            return static_cast<std::uint8_t>(one ? state ^ (0x80U >> (bitIndex % 8)) : state);
        },
    .finishCheck = [](std::uint8_t state) { return RunningParities(state); },
    .explain = Explain,
};

} // namespace bitwatch
